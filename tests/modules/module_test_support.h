#pragma once

#include <initializer_list>
#include <string>

#include <vector>

#include "expression/interpreter.h"
#include "support/echo_messages.h"
#include "expression/module_tokenizer.h"
#include "test_module_control.h"
#include "vm/module_list.h"
#include "vm/number_text.h"
#include "vm/vm_module.h"

namespace quenmark::testing {

// Where the test modules, the shipped modules and the example module are.
std::string TestModuleDirectory();
std::string ProgramModuleDirectory();
std::string ExampleModuleDirectory();
std::string SourceDirectory();

// The control block of a loaded test module.
TestControl& ControlOf(const TVMModule& module);

// Whether the library at the path is loaded in this process.
bool IsLibraryLoaded(const std::string& path);

// A fresh directory holding copies of chosen test modules, for loading
// runs whose files the test decides. Removed again at the end.
class ModuleDirectory {
public:
    explicit ModuleDirectory(const std::string& name);
    ~ModuleDirectory();
    ModuleDirectory(const ModuleDirectory&) = delete;
    ModuleDirectory& operator=(const ModuleDirectory&) = delete;

    // Copies the test module "<module>.vmx" in as target (default: the same name).
    void Copy(const std::string& module, const std::string& target = {});
    void CopyAll(std::initializer_list<const char*> modules);
    void WriteFile(const std::string& name, const std::string& content);
    void MakeDirectory(const std::string& name);

    // The directory, ending with "/".
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// An interpreter wired to the modules of a directory as the program wires
// it: tables filled by the loader, module tokenizers asked, module output
// joined into the interpreter's output lines. The session has a context of
// its own: echoed messages ("CODE: argument"), "." and ",".
class ModuleSession {
public:
    explicit ModuleSession(const std::string& directory);
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // The output lines of one input line; an error of the line gives its
    // message as the only line.
    std::vector<std::string> Run(const std::string& line);
    // The single result line of an expression.
    std::string Result(const std::string& line);

    EchoContext Context;
    TVMModuleList Modules;
    TCCInterpreter Interpreter{Context};

private:
    TCCModuleTokenizer FTokens{Modules};
};

}  // namespace quenmark::testing
