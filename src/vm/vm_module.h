#pragma once

#include <string>

namespace quenmark {

// A loaded extension module, known to tokens by its file name.
class TVMModule {
public:
    explicit TVMModule(std::string fileName) : FFileName(std::move(fileName)) {}
    virtual ~TVMModule() = default;
    TVMModule(const TVMModule&) = delete;
    TVMModule& operator=(const TVMModule&) = delete;

    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
};

}  // namespace quenmark
