#pragma once

#include <stdexcept>
#include <string>

namespace quenmark {

// Root of every failure the calculator reports. The message is always the
// text shown to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Errors of input lines and commands.
class EINError : public Exception {
public:
    using Exception::Exception;
};

// Run-time errors of the machine and errors of module loading.
class EVMError : public Exception {
public:
    using Exception::Exception;
};

// Errors of the version reader.
class EVerInfo : public Exception {
public:
    using Exception::Exception;
};

// A resource of the desktop ran out, such as the notification-area entries.
class EOutOfMemory : public Exception {
public:
    using Exception::Exception;
};

// Value conversion failures. The machine maps each to its coded message.

// A String that is not a number in the current number text rules.
class EConvertError : public Exception {
public:
    EConvertError() : Exception("Could not convert variant.") {}
};

// An invalid floating-point operation: 0/0, a Real outside the Integer range
// where an Integer is needed, the logarithm of a negative number.
class EInvalidOp : public Exception {
public:
    EInvalidOp() : Exception("Invalid floating point operation.") {}
};

// A result beyond the range of a double.
class EOverflow : public Exception {
public:
    EOverflow() : Exception("Floating point overflow.") {}
};

// A division by zero, integer or real.
class EZeroDivide : public Exception {
public:
    EZeroDivide() : Exception("Division by zero.") {}
};

}  // namespace quenmark
