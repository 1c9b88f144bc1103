#pragma once
// The diagnostic trace sink. Silent unless DRAVIK_TRACE is "stderr" or a file path; tests can
// capture lines with TraceCapture. Texts are UTF-8 (many of the system's traces are Chinese).
#include <cstdarg>
#include <mutex>
#include <string>
#include <vector>

namespace dravik::platform {

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TraceText(const std::string& text);
// Whether any sink (environment or capture) listens; lets hot paths skip formatting.
bool TraceEnabled();

// Collects every trace line written while it lives (nesting is allowed).
class TraceCapture {
  public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::string> Lines() const;
    bool Contains(const std::string& fragment) const;
    size_t Count(const std::string& fragment) const;
    void Add(const std::string& line);

  private:
    mutable std::mutex m_;
    std::vector<std::string> lines_;
};

}  // namespace dravik::platform
