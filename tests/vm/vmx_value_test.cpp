#include "vm/vmx_value.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/exception.h"

namespace quenmark {
namespace {

VMXValue ZeroRecord() {
    VMXValue record;
    std::memset(&record, 0, sizeof record);
    return record;
}

TEST(VmxValueTest, RoundTripsNumbers) {
    VMXValue record = ZeroRecord();
    VariantToVMX(Variant(int32_t{-5}), record);
    EXPECT_EQ(record.ValueType, vmxInteger);
    EXPECT_EQ(VMXToVariant(record), Variant(int32_t{-5}));

    VariantToVMX(Variant(1.25), record);
    EXPECT_EQ(record.ValueType, vmxReal);
    EXPECT_EQ(VMXToVariant(record), Variant(1.25));
}

TEST(VmxValueTest, StringPointsAtTheValuesOwnCharacters) {
    const Variant value("hello");
    VMXValue record = ZeroRecord();
    VariantToVMX(value, record);
    EXPECT_EQ(record.ValueType, vmxString);
    // Copied out first: the test macros bind references, and the packed
    // pointer field is not aligned for one.
    const char* characters = record.StrValue;
    EXPECT_EQ(characters, value.AsString().c_str());
    EXPECT_EQ(record.StrLength, 5);
    EXPECT_EQ(record.StrSize, 5);
    EXPECT_EQ(record.StrValue[5], '\0');
}

TEST(VmxValueTest, StringIsCutAtZeroByteAndLength) {
    char buffer[16] = {'a', 'b', 'c', '\0', 'x', 'y', 'z'};
    VMXValue record = ZeroRecord();
    record.ValueType = vmxString;
    record.StrValue = buffer;
    record.StrLength = 10;
    EXPECT_EQ(VMXToVariant(record), Variant("abc"));
    record.StrLength = 2;
    EXPECT_EQ(VMXToVariant(record), Variant("ab"));
    record.StrLength = 0;
    EXPECT_EQ(VMXToVariant(record), Variant(""));
    record.StrLength = -3;
    EXPECT_EQ(VMXToVariant(record), Variant(""));
}

TEST(VmxValueTest, UnassignedValueIsRejected) {
    VMXValue record = ZeroRecord();
    try {
        VariantToVMX(Variant(), record);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Invalid variant type.");
    }
}

TEST(VmxValueTest, UnknownTagIsRejected) {
    for (int32_t tag : {0, 4, -1}) {
        VMXValue record = ZeroRecord();
        record.ValueType = tag;
        try {
            VMXToVariant(record);
            FAIL() << "no exception for tag " << tag;
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "Invalid VMXValue type.");
        }
    }
}

}  // namespace
}  // namespace quenmark
