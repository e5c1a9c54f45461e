#include "expression/module_tokenizer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#include "base/exception.h"
#include "vm/guarded_buffer.h"
#include "vm/module_list.h"
#include "vm/vmx_value.h"

namespace quenmark {

namespace {

constexpr size_t BufferSize = VMX_BUFFER_SIZE;

// One buffer lent to a module, with its guard area behind it. Allocated
// zeroed once and reused; only the guard is kept clean between calls.
class LentBuffer : public TGuardedBuffer {
public:
    LentBuffer() : TGuardedBuffer(BufferSize) {}
    // An empty text for the next call.
    void Prepare() const { Data()[0] = 0; }
    bool Owns(const char* pointer) const { return pointer == Data(); }
    bool Terminated() const { return std::memchr(Data(), 0, BufferSize) != nullptr; }
};

struct TokenBuffers {
    LentBuffer Text;
    LentBuffer Value;
};

TokenRecord FreshRecord(const TokenBuffers& buffers) {
    buffers.Text.Prepare();
    buffers.Value.Prepare();
    TokenRecord record;
    std::memset(&record, 0, sizeof record);
    record.Size = sizeof(TokenRecord);
    record.TokenText = buffers.Text.Data();
    record.TextSize = static_cast<int32_t>(BufferSize);
    record.Value.StrValue = buffers.Value.Data();
    record.Value.StrSize = static_cast<int32_t>(BufferSize);
    return record;
}

// A failure of the module, in the messages of the context it was loaded with.
[[noreturn]] void Fail(const char* code, const TVMModule& module) {
    throw EINError(module.Context().GetTextWith(code, module.FileName()));
}

constexpr TokenKind RadixKinds[] = {TokenKind::Dec, TokenKind::Hex, TokenKind::Oct, TokenKind::Bin};
constexpr TokenKind ValueKinds[] = {TokenKind::Integer, TokenKind::Real, TokenKind::String};
constexpr TokenKind OperatorKinds[] = {
    TokenKind::Equal, TokenKind::Plus, TokenKind::Minus, TokenKind::Multiple, TokenKind::Divide,
    TokenKind::Intdiv, TokenKind::Surplus, TokenKind::Power, TokenKind::Factorial, TokenKind::And,
    TokenKind::Or, TokenKind::Xor, TokenKind::Not, TokenKind::LShift, TokenKind::RShift,
};
static_assert(std::size(RadixKinds) == vmxRadixBinary, "one kind per literal radix");
static_assert(std::size(OperatorKinds) == vmxOpRShift, "one kind per operator sub-kind");

bool InRange(int32_t value, size_t count) { return value >= 1 && static_cast<size_t>(value) <= count; }

// The token's characters: up to the zero byte, at most TokenLength of them.
std::string_view TokenText(const TokenRecord& record, const TokenBuffers& buffers, const TVMModule& module) {
    const size_t length = static_cast<size_t>(record.TokenLength);
    if (!record.TokenText) Fail("INT063", module);
    if (buffers.Text.Owns(record.TokenText)) {
        if (length > BufferSize || buffers.Text.GuardTouched() || !buffers.Text.Terminated()) Fail("INT063", module);
    }
    const void* zero = std::memchr(record.TokenText, 0, length);
    const size_t size = zero ? static_cast<size_t>(static_cast<const char*>(zero) - record.TokenText) : length;
    return {record.TokenText, size};
}

Variant LiteralValue(const VMXValue& value, const TokenBuffers& buffers, const TVMModule& module) {
    if (buffers.Value.GuardTouched()) Fail("INT063", module);
    if (value.ValueType == vmxString) {
        if (value.StrLength > 0 && !value.StrValue) Fail("INT063", module);
        if (buffers.Value.Owns(value.StrValue) && value.StrLength > static_cast<int32_t>(BufferSize))
            Fail("INT063", module);
    }
    return VMXToVariant(value);
}

void SetLiteralToken(const TokenRecord& record, std::string_view text, const TokenBuffers& buffers,
                     const TVMModule& module, TCCToken& token) {
    if (!InRange(record.SubKind, std::size(RadixKinds))) Fail("INT063", module);
    Variant value = LiteralValue(record.Value, buffers, module);
    TokenKinds kinds{TokenKind::Literal, RadixKinds[record.SubKind - 1]};
    kinds += ValueKinds[record.Value.ValueType - 1];
    token.Set(text, kinds, std::move(value), &module);
}

void SetOperatorToken(const TokenRecord& record, std::string_view text, const TVMModule& module, TCCToken& token) {
    if (!InRange(record.SubKind, std::size(OperatorKinds))) Fail("INT063", module);
    token.Set(text, TokenKinds{TokenKind::Operator, OperatorKinds[record.SubKind - 1]}, Variant(), &module);
}

// The token a module recognised, checked against the rest of the line and
// the buffers it was lent.
void SetToken(const TokenRecord& record, size_t restLength, const TokenBuffers& buffers, const TVMModule& module,
              TCCToken& token) {
    if (record.Size != static_cast<int32_t>(sizeof(TokenRecord))) throw Exception("");
    if (record.TokenLength <= 0 || static_cast<size_t>(record.TokenLength) > restLength) Fail("INT063", module);
    const std::string_view text = TokenText(record, buffers, module);
    switch (record.TokenClass) {
    case vmxTokenLiteral: SetLiteralToken(record, text, buffers, module, token); break;
    case vmxTokenOperator: SetOperatorToken(record, text, module, token); break;
    case vmxTokenIdentifier: token.Set(text, TokenKinds{TokenKind::Identifier}, Variant(), &module); break;
    default: Fail("INT063", module);
    }
}

}  // namespace

// The lent buffers, the record of the call in progress, and the fresh
// record every call starts from.
struct TCCModuleTokenizer::Buffers : TokenBuffers {
    Buffers() : Fresh(FreshRecord(*this)), Record(Fresh) {}
    const TokenRecord Fresh;
    TokenRecord Record;
};

TCCModuleTokenizer::TCCModuleTokenizer(TVMModuleList& modules) : FModules(modules) {}

TCCModuleTokenizer::~TCCModuleTokenizer() = default;

// The rest of a line is its tail, and the line's storage ends in a zero
// byte: the module reads it in place, so a token costs no copy of the rest
// and a line costs time linear in its length. Only a view that does not end
// at a zero byte is copied.
const char* TCCModuleTokenizer::ZeroTerminated(std::string_view rest) {
    if (rest.data() && rest.data()[rest.size()] == '\0') return rest.data();
    FText.assign(rest);
    return FText.c_str();
}

// The result of one module's call, other than "not recognised" with its
// buffers intact: fills the token or raises the module's failure. Out of
// line, so that the call loop stays small.
bool TCCModuleTokenizer::Answer(int32_t result, const TVMModule& module, size_t length, size_t& consumed,
                                TCCToken& token) {
    Buffers& buffers = *FBuffers;
    const bool overrun = buffers.Text.GuardTouched() || buffers.Value.GuardTouched();
    if (overrun) {
        buffers.Text.RestoreGuard();
        buffers.Value.RestoreGuard();
    }
    switch (result) {
    case vmxTokenRecognised:
        if (overrun) Fail("INT063", module);
        SetToken(buffers.Record, length, buffers, module, token);
        consumed = static_cast<size_t>(buffers.Record.TokenLength);
        return true;
    case vmxTokenNotRecognised: return false;
    case vmxTokenFailure: Fail("INT061", module);
    default: Fail("INT063", module);
    }
}

// A module is asked only where the next character is one its tokens may
// start with; a waiting module that declares it is loaded first.
bool TCCModuleTokenizer::ReadToken(std::string_view rest, size_t& consumed, TCCToken& token) {
    consumed = 0;
    const auto first = static_cast<unsigned char>(rest.empty() ? '\0' : rest.front());
    if (!FModules.MayStartToken(first)) return false;
    FModules.LoadTokenizersFor(first);
    const std::vector<const TVMModule*>& tokenizers = FModules.Tokenizers();
    if (tokenizers.empty()) return false;
    const char* const text = ZeroTerminated(rest);
    const auto length = static_cast<int32_t>(std::min<size_t>(rest.size(), std::numeric_limits<int32_t>::max()));
    if (!FBuffers) FBuffers = std::make_unique<Buffers>();
    Buffers& buffers = *FBuffers;
    for (const TVMModule* module : tokenizers) {
        if (!module->TokenStarts()[first]) continue;
        buffers.Text.Prepare();
        buffers.Value.Prepare();
        buffers.Record = buffers.Fresh;
        const int32_t result = module->GetNextToken(text, length, buffers.Record);
        // Most positions are not a module's: that answer with clean guards
        // needs nothing more.
        if (result == vmxTokenNotRecognised && !buffers.Text.GuardTouched() && !buffers.Value.GuardTouched())
            continue;
        if (Answer(result, *module, static_cast<size_t>(length), consumed, token)) return true;
    }
    return false;
}

}  // namespace quenmark
