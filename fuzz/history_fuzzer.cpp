// The history decoder and the hex codec under it on arbitrary lines and
// arbitrary "History" sections, then the recall of the restored entries by
// the arrow keys. Checked: a decoder that fails leaves its input as it was,
// one that succeeds consumed exactly the digits of the canonical encoding,
// and a section read, written and read again gives the same entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/hex_codec.h"
#include "app/history_section.h"
#include "app/line_session.h"
#include "app/settings.h"
#include "expression/interpreter.h"
#include "fuzz_support.h"
#include "support/section_writers.h"
#include "base/exception.h"

namespace quenmark {
namespace {

using fuzz::Require;

// Runs one decoder on the digits and checks what it consumed.
template <typename Decode, typename Encode>
void CheckDecoder(std::string_view digits, Decode decode, Encode encode) {
    std::string_view rest = digits;
    try {
        const auto value = decode(rest);
        const std::string_view consumed = digits.substr(0, digits.size() - rest.size());
        Require(!consumed.empty() && rest.data() == digits.data() + consumed.size(), "a decoder consumes from the front");
        std::string canonical;
        if (encode(value, canonical)) Require(canonical == consumed, "a decoder consumes one canonical encoding");
    } catch (const Exception&) {
        Require(rest == digits && rest.data() == digits.data(), "a failed decoder leaves its digits as they were");
    }
}

void CheckCodec(std::string_view digits) {
    CheckDecoder(digits, DecodeByte, [](uint8_t value, std::string& out) {
        EncodeByte(value, out);
        return true;
    });
    CheckDecoder(digits, DecodeInt32, [](int32_t value, std::string& out) {
        EncodeInt32(value, out);
        return true;
    });
    CheckDecoder(digits, DecodeReal, [](double value, std::string& out) {
        EncodeReal(value, out);
        return true;
    });
    // A negative length reads as the empty string; only lengths from 0 up
    // have one encoding.
    const bool lengthFromZero = digits.size() >= 8 && digits[6] >= '0' && digits[6] <= '7';
    CheckDecoder(digits, DecodeString, [lengthFromZero](const std::string& value, std::string& out) {
        EncodeString(value, out);
        return lengthFromZero;
    });
}

void CheckHistoryLine(const std::string& line) {
    CheckCodec(line);
    CheckCodec(std::string_view(line).substr(line.empty() ? 0 : 1));
    try {
        const std::string entry = DecodeHistoryLine(line);
        Require(DecodeHistoryLine(EncodeHistoryLine(entry)) == entry, "a decoded entry survives its encoding");
    } catch (const Exception&) {
        // a damaged line, skipped when the section is read
    }
}

// Recalls entries with the arrow keys as the choices say.
void Recall(TLineSession& session, FuzzedDataProvider& choices) {
    std::string shown;
    for (int step = 0; step < 16 && choices.remaining_bytes() > 0; ++step) {
        shown = choices.ConsumeBool() ? session.HistoryUp(shown) : session.HistoryDown(shown);
        const auto& history = session.History();
        Require(history.empty() || (session.HistoryIndex() >= 0 &&
                                    static_cast<size_t>(session.HistoryIndex()) < history.size()),
                "the recall stays inside the history");
    }
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    const std::string body(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : fuzz::InputLines(body)) CheckHistoryLine(line);

    const std::string path = fuzz::ScratchDirectory() + "history.cfg";
    fuzz::WriteFile(path, fuzz::SettingsFileWith(HistorySection, body));
    TSettings settings(path);
    std::vector<std::string> restored;
    ReadHistorySection(settings, restored);
    Require(WriteHistorySection(settings, restored), "a restored history can be saved");
    std::vector<std::string> again;
    ReadHistorySection(settings, again);
    Require(again == restored, "a saved history reads back as it was");

    TCCInterpreter interpreter;
    TLineSession session(interpreter, settings);
    session.LoadHistory();
    Require(session.History() == restored, "the session restores the saved history");
    FuzzedDataProvider choices(data, size);
    Recall(session, choices);
    return 0;
}
