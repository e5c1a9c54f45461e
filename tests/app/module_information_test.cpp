// The information texts of the options dialog's module list, compared line
// by line: modules from records held in memory and from a real library,
// languages from a language file.
#include "app/module_information.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <string>
#include <vector>

#include "definitions/language.h"
#include "definitions/temp_directory.h"
#include "base/context.h"
#include "base/exception.h"
#include "vm/vm_module.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using Lines = std::vector<std::string>;

VMXConstant IntegerConstant(const char* name, int32_t value, const char* description) {
    VMXConstant constant{};
    constant.Size = sizeof(VMXConstant);
    constant.Name = name;
    constant.Description = description;
    constant.Value.ValueType = vmxInteger;
    constant.Value.IntValue = value;
    return constant;
}

VMXConstant RealConstant(const char* name, double value, const char* description) {
    VMXConstant constant = IntegerConstant(name, 0, description);
    constant.Value.ValueType = vmxReal;
    constant.Value.RealValue = value;
    return constant;
}

VMXConstant StringConstant(const char* name, char* text, int32_t length, const char* description) {
    VMXConstant constant = IntegerConstant(name, 0, description);
    constant.Value.ValueType = vmxString;
    constant.Value.StrValue = text;
    constant.Value.StrLength = length;
    constant.Value.StrSize = length + 1;
    return constant;
}

class ModuleInformationTest : public ::testing::Test {
protected:
    ModuleInformationTest() {
        FInfo = {sizeof(VMXModuleInfo), "Test Module", "For the tests.", "Func&Const", "1", nullptr,
                 "T. Ester", "(C) nobody"};
        FConstants = {IntegerConstant("ANSWER", 42, "The answer"), RealConstant("PI", 3.14159265358979, "Pi"),
                      RealConstant("TINY", 1.5e-7, "Small"), StringConstant("GREETING", FGreeting, 5, "Hello text")};
        FFunctions = {{sizeof(VMXFunction), "TWICE", "TWICE(x): x times 2", 1},
                      {sizeof(VMXFunction), "HALF", "HALF(x)", 1}};
        FRecords.FileName = "test.vmx";
        FRecords.Info = &FInfo;
        FRecords.HasConstants = true;
        FRecords.Constants = FConstants.data();
        FRecords.ConstantCount = static_cast<int32_t>(FConstants.size());
        FRecords.HasFunctions = true;
        FRecords.Functions = FFunctions.data();
        FRecords.FunctionCount = static_cast<int32_t>(FFunctions.size());
    }

    static Lines Header() {
        return {"test.vmx",
                "  VM-Extension Module.",
                "",
                "Information",
                "  Name : Test Module",
                "  Type : Func&Const",
                "  Supported Interpreter Level : 1",
                "  Author : T. Ester",
                "  Copyright : (C) nobody",
                "  Comment : For the tests.",
                ""};
    }

    static Lines Joined(Lines first, const Lines& second) {
        first.insert(first.end(), second.begin(), second.end());
        return first;
    }

    char FGreeting[16] = "Hello, world";
    VMXModuleInfo FInfo{};
    std::vector<VMXConstant> FConstants;
    std::vector<VMXFunction> FFunctions;
    TModuleRecords FRecords;
};

TEST_F(ModuleInformationTest, ListsInformationConstantsAndFunctions) {
    const Lines expected = Joined(Header(), {"Constants...",
                                             "  ANSWER = 42 : The answer",
                                             "  PI = 3.14159265358979 : Pi",
                                             "  TINY = 1.5E-7 : Small",
                                             "  GREETING = \"Hello\" : Hello text",
                                             "",
                                             "Functions...",
                                             "  TWICE : TWICE(x): x times 2",
                                             "  HALF : HALF(x)",
                                             ""});
    EXPECT_EQ(ModuleInformationLines(FRecords), expected);
}

TEST_F(ModuleInformationTest, WithoutTablesSaysNotFound) {
    FRecords.HasConstants = false;
    FRecords.HasFunctions = false;
    const Lines expected = Joined(Header(), {"Constants...", "  Not found.", "", "Functions...", "  Not found."});
    EXPECT_EQ(ModuleInformationLines(FRecords), expected);
}

TEST_F(ModuleInformationTest, AnUnknownValueTypeShowsInvalidValueWithoutDescription) {
    FConstants[0].Value.ValueType = 7;
    const Lines lines = ModuleInformationLines(FRecords);
    EXPECT_EQ(lines[12], "  ANSWER = Invalid value");
}

TEST_F(ModuleInformationTest, RecordsOfAnotherSizeAreSkipped) {
    FConstants[1].Size = 44;
    FFunctions[0].Size = 16;
    const Lines expected = Joined(Header(), {"Constants...",
                                             "  ANSWER = 42 : The answer",
                                             "  TINY = 1.5E-7 : Small",
                                             "  GREETING = \"Hello\" : Hello text",
                                             "",
                                             "Functions...",
                                             "  HALF : HALF(x)",
                                             ""});
    EXPECT_EQ(ModuleInformationLines(FRecords), expected);
}

TEST_F(ModuleInformationTest, EmptyTablesListNothing) {
    FRecords.ConstantCount = 0;
    FRecords.FunctionCount = 0;
    const Lines expected = Joined(Header(), {"Constants...", "", "Functions...", ""});
    EXPECT_EQ(ModuleInformationLines(FRecords), expected);
}

TEST_F(ModuleInformationTest, MissingTextsReadAsEmpty) {
    FInfo.Author = nullptr;
    FConstants[0].Description = nullptr;
    FFunctions[1].Name = nullptr;
    const Lines lines = ModuleInformationLines(FRecords);
    EXPECT_EQ(lines[7], "  Author : ");
    EXPECT_EQ(lines[12], "  ANSWER = 42 : ");
    EXPECT_EQ(lines[19], "   : HALF(x)");
}

TEST_F(ModuleInformationTest, AnEmptyStringValueIsTwoQuotes) {
    FConstants[3].Value.StrLength = 0;
    EXPECT_EQ(ModuleInformationLines(FRecords)[15], "  GREETING = \"\" : Hello text");
}

TEST_F(ModuleInformationTest, UnreadableRecordsFail) {
    TModuleRecords noInfo = FRecords;
    noInfo.Info = nullptr;
    EXPECT_THROW(ModuleInformationLines(noInfo), Exception);
    TModuleRecords noTable = FRecords;
    noTable.Constants = nullptr;
    EXPECT_THROW(ModuleInformationLines(noTable), Exception);
    FConstants[3].Value.StrValue = nullptr;
    EXPECT_THROW(ModuleInformationLines(FRecords), Exception);
}

// Messages that know only some codes.
class SomeMessages : public MessageSource {
public:
    explicit SomeMessages(std::map<std::string, std::string, std::less<>> texts) : FTexts(std::move(texts)) {}
    std::optional<std::string> Text(std::string_view code) const override {
        const auto found = FTexts.find(code);
        if (found == FTexts.end()) return std::nullopt;
        return found->second;
    }
    std::optional<std::string> TextWith(std::string_view code, std::string_view) const override { return Text(code); }

private:
    std::map<std::string, std::string, std::less<>> FTexts;
};

TEST_F(ModuleInformationTest, TheLabelsComeFromTheMessagesAndStayEnglishWhereTheyLackOne) {
    const SomeMessages messages({{"QEN562", "VM-Erweiterungsmodul."},
                                 {"QEN564", "Bezeichnung"},
                                 {"QEN567", "Autor"},
                                 {"QEN570", "Konstanten..."},
                                 {"QEN571", "Nicht gefunden."}});
    FRecords.HasConstants = false;
    const Lines lines = ModuleInformationLines(FRecords, InformationLabels(messages));
    EXPECT_EQ(lines[1], "  VM-Erweiterungsmodul.");
    EXPECT_EQ(lines[3], "Information");
    EXPECT_EQ(lines[5].substr(0, 9), "  Type : ");
    EXPECT_EQ(lines[7].substr(0, 10), "  Autor : ");
    EXPECT_EQ(lines[11], "Konstanten...");
    EXPECT_EQ(lines[12], "  Nicht gefunden.");
    EXPECT_EQ(lines[14], "Functions...");
}

TEST(InformationTextTest, EndsEveryLineWithCarriageReturnAndLineFeed) {
    EXPECT_EQ(InformationText({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(InformationText({}), "");
}

TEST(LanguageInformationTest, ListsTheFileAndItsIdentifierInHexadecimal) {
    quenmark::testing::TempDirectory directory;
    directory.Write("Nihongo.lng",
                    "[Information]\nPurpose=Quenmark Version 1.1 Language Definition File\n"
                    "[Language]\nLanguage=Nihongo\nLangID=1041\nComment=Test language\n"
                    "HelpFileName=Nihongo.hlp\nMessageFileName=Nihongo.msg\nUnitFileName=Nihongo.uni\n");
    const std::unique_ptr<TCCLanguage> language = TCCLanguage::CreateFromFile(Plain, "Nihongo.lng", directory.Path());
    const Lines expected{"Nihongo.lng",
                         "  National Language Support Module.",
                         "",
                         "Information",
                         "  Name : Nihongo",
                         "  LanguageID : 0x0411",
                         "  Comment : Test language",
                         "",
                         "Files...",
                         "  Help : Nihongo.hlp",
                         "  Messages : Nihongo.msg",
                         "  Units : Nihongo.uni",
                         ""};
    EXPECT_EQ(LanguageInformationLines(*language), expected);
}

TEST(LanguageInformationTest, IdentifierHasAtLeastFourCapitalDigits) {
    quenmark::testing::TempDirectory directory;
    for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{
             {1033, "0x0409"}, {10, "0x000A"}, {0x12345, "0x12345"}, {0xABC, "0x0ABC"}}) {
        directory.Write("L.lng", "[Information]\nPurpose=Quenmark Version 1.1 Language Definition File\n"
                                 "[Language]\nLanguage=L\nLangID=" + std::to_string(id) + "\n");
        const std::unique_ptr<TCCLanguage> language = TCCLanguage::CreateFromFile(Plain, "L.lng", directory.Path());
        EXPECT_EQ(LanguageInformationLines(*language)[5], "  LanguageID : " + text) << id;
    }
}

TEST(LoadedModuleInformationTest, ReadsTheExampleModule) {
    const TCCContext context;
    const TVMModule module(context, QUENMARK_EXAMPLE_MODULE_DIR, "sample.vmx");
    const Lines lines = ModuleInformationLines(RecordsOf(module));
    const Lines expected{"sample.vmx",
                         "  VM-Extension Module.",
                         "",
                         "Information",
                         "  Name : Sample",
                         "  Type : Func&Const",
                         "  Supported Interpreter Level : 1",
                         "  Author : A. Author",
                         "  Copyright : Placed in the public domain.",
                         "  Comment : An example module.",
                         "",
                         "Constants...",
                         "  ANSWER = 42 : The answer",
                         "",
                         "Functions...",
                         "  TWICE : TWICE(x): x times 2",
                         "  HELLO : HELLO(name): writes and returns a greeting",
                         ""};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace quenmark
