#include "JunitReport.h"

#include <cstdio>
#include <ctime>

namespace zorhost {
namespace {

std::string HexEscape(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", c);
    return text;
}

// The length of the well-formed UTF-8 sequence at `i` that XML allows, or 0.
size_t Utf8Length(const std::string& text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t length = c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    uint32_t code = c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF) return 0;
    if ((code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF) return 0;
    return length;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + XmlEscaped(value) + "\"";
}

}  // namespace

std::string XmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const size_t length = Utf8Length(text, i);
            if (length == 0) {
                out += HexEscape(c);
                ++i;
            } else {
                out.append(text, i, length);
                i += length;
            }
            continue;
        }
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t':
            case '\n': out += static_cast<char>(c); break;
            default:
                if (c < 0x20 || c == 0x7F)
                    out += HexEscape(c);
                else
                    out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

void JunitReport::Begin(const std::string& script) {
    cases_.push_back({script, {}, 0, {}, {}, 0});
    started_ = std::chrono::steady_clock::now();
}

void JunitReport::Failure(const std::string& line) {
    if (cases_.empty()) return;
    Case& current = cases_.back();
    if (current.failures.size() < kListedFailures)
        current.failures.push_back(line);
    else
        ++current.unlistedFailures;
}

void JunitReport::End(const std::string& error) {
    if (cases_.empty()) return;
    Case& current = cases_.back();
    current.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    current.error = error;
    while (!current.error.empty() && current.error.back() == '\n') current.error.pop_back();
}

void JunitReport::NotRun(const std::string& script, const std::string& why) {
    cases_.push_back({script, {}, 0, {}, why, 0});
}

std::string JunitReport::Xml() const {
    size_t failures = 0, errors = 0, skipped = 0;
    double seconds = 0;
    std::string body;
    for (const Case& c : cases_) {
        seconds += c.seconds;
        if (!c.skipped.empty())
            ++skipped;
        else if (!c.error.empty())
            ++errors;
        else if (!c.failures.empty())
            ++failures;
        body += "    <testcase" + Attribute("name", c.script) + Attribute("classname", "zorhost") +
                Attribute("file", c.script) + Attribute("time", Seconds(c.seconds));
        if (c.failures.empty() && c.error.empty() && c.skipped.empty()) {
            body += "/>\n";
            continue;
        }
        body += ">\n";
        for (const std::string& failure : c.failures)
            body += "      <failure" + Attribute("message", failure) +
                    Attribute("type", "expectation") + ">" + XmlEscaped(failure) + "</failure>\n";
        if (c.unlistedFailures > 0) {
            const std::string more =
                std::to_string(c.unlistedFailures) + " more failed expectations, not listed";
            body += "      <failure" + Attribute("message", more) +
                    Attribute("type", "expectation") + "/>\n";
        }
        if (!c.error.empty())
            body += "      <error" + Attribute("message", c.error) +
                    Attribute("type", "script error") + ">" + XmlEscaped(c.error) + "</error>\n";
        if (!c.skipped.empty()) body += "      <skipped" + Attribute("message", c.skipped) + "/>\n";
        body += "    </testcase>\n";
    }
    char timestamp[32];
    const std::time_t start = std::chrono::system_clock::to_time_t(runStarted_);
    std::tm utc{};
    gmtime_r(&start, &utc);
    std::strftime(timestamp, sizeof timestamp, "%Y-%m-%dT%H:%M:%S", &utc);
    const std::string counts = Attribute("tests", std::to_string(cases_.size())) +
                               Attribute("failures", std::to_string(failures)) +
                               Attribute("errors", std::to_string(errors)) +
                               Attribute("skipped", std::to_string(skipped)) +
                               Attribute("time", Seconds(seconds));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!-- a JUnit report made by zorhost " ZOR_VERSION
           " -->\n"
           "<testsuites" +
           Attribute("name", "zorhost") + counts +
           ">\n"
           "  <testsuite" +
           Attribute("name", "zorhost") + counts + Attribute("timestamp", timestamp) + ">\n" +
           body + "  </testsuite>\n</testsuites>\n";
}

}  // namespace zorhost
