#include "module_test_support.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/module_output.h"
#include "base/exception.h"

namespace quenmark::testing {

namespace fs = std::filesystem;

std::string TestModuleDirectory() { return QUENMARK_TEST_MODULE_DIR; }
std::string ProgramModuleDirectory() { return std::string(QUENMARK_PROGRAM_DIR) + "/"; }
std::string ExampleModuleDirectory() { return QUENMARK_EXAMPLE_MODULE_DIR; }
std::string SourceDirectory() { return QUENMARK_SOURCE_DIR; }

TestControl& ControlOf(const TVMModule& module) {
    auto get = reinterpret_cast<TestGetControlProc>(dlsym(module.Handle(), "TestGetControl"));
    if (!get) throw std::logic_error(module.FileName() + " is no test module");
    return *get();
}

bool IsLibraryLoaded(const std::string& path) {
    void* handle = dlopen(fs::absolute(path).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return false;
    dlclose(handle);  // balances the reference RTLD_NOLOAD took
    return true;
}

ModuleDirectory::ModuleDirectory(const std::string& name)
    // The process id keeps directories apart when CTest runs tests in parallel.
    : FPath(std::string(QUENMARK_MODULE_SCRATCH_DIR) + name + "-" + std::to_string(getpid()) + "/") {
    fs::remove_all(FPath);
    fs::create_directories(FPath);
}

ModuleDirectory::~ModuleDirectory() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

void ModuleDirectory::Copy(const std::string& module, const std::string& target) {
    fs::copy_file(TestModuleDirectory() + module + ".vmx", FPath + (target.empty() ? module + ".vmx" : target));
}

void ModuleDirectory::CopyAll(std::initializer_list<const char*> modules) {
    for (const char* module : modules) Copy(module);
}

void ModuleDirectory::WriteFile(const std::string& name, const std::string& content) {
    std::ofstream(FPath + name, std::ios::binary) << content;
}

void ModuleDirectory::MakeDirectory(const std::string& name) { fs::create_directories(FPath + name); }

ModuleSession::ModuleSession(const std::string& directory) {
    Modules.LoadDirectory(Context, directory, Interpreter.Variables(), Interpreter.Callables(), ModuleOutput);
    Interpreter.Tokenizer().SetModuleTokenSource(&FTokens);
    SetModuleOutputLines(&Interpreter.OutputLines());
}

ModuleSession::~ModuleSession() {
    SetModuleOutputLines(nullptr);
    Interpreter.Tokenizer().SetModuleTokenSource(nullptr);
}

std::vector<std::string> ModuleSession::Run(const std::string& line) {
    Interpreter.OutputLines().clear();
    try {
        Interpreter.ProcessLine(line);
    } catch (const Exception& error) {
        return {error.what()};
    }
    return Interpreter.OutputLines();
}

std::string ModuleSession::Result(const std::string& line) {
    const std::vector<std::string> lines = Run(line);
    return lines.size() == 1 ? lines.front() : "(" + std::to_string(lines.size()) + " lines)";
}

}  // namespace quenmark::testing
