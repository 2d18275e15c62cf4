// --junit FILE: the run as a JUnit XML report, which CI servers show as
// tests: one test case per script, its failed expectations as failures
// ("FILE:LINE: expected X, got Y"), a script error as an error, scripts an
// error kept from running as skipped, and the time each script took.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace zorhost {

class JunitReport {
public:
    // A script begins; its clock runs until End.
    void Begin(const std::string& script);
    // A failed expectation of the current script, as the transcript prints it.
    void Failure(const std::string& line);
    // The current script ended; `error` is its script error ("FILE:LINE:
    // message"), empty when it ran to its end.
    void End(const std::string& error);
    // A script that did not run, and why.
    void NotRun(const std::string& script, const std::string& why);

    // The whole report.
    std::string Xml() const;

    // A test case lists this many failures; more are counted in one more.
    static constexpr size_t kListedFailures = 1000;

private:
    struct Case {
        std::string script;
        std::vector<std::string> failures;
        size_t unlistedFailures = 0;
        std::string error;
        std::string skipped;  // why it did not run; empty when it ran
        double seconds = 0;
    };
    std::vector<Case> cases_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::system_clock::time_point runStarted_ = std::chrono::system_clock::now();
};

// `text` as XML character data or attribute value: markup characters
// escaped, and bytes XML cannot hold (control characters, broken UTF-8)
// written as \xHH, so a report is well-formed whatever a script contained.
std::string XmlEscaped(const std::string& text);

}  // namespace zorhost
