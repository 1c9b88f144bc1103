#include "platform/Trace.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dravik::platform {
namespace {

struct Sinks {
    std::mutex m;
    std::atomic<bool> envRead{false};
    FILE* file = nullptr;  // stderr or an opened file
    std::vector<TraceCapture*> captures;
    std::atomic<bool> any{false};
};

Sinks& GetSinks() {
    static Sinks* sinks = new Sinks;  // never destroyed: traces may come from late threads
    return *sinks;
}

void ReadEnvLocked(Sinks& s) {
    if (s.envRead)
        return;
    const char* v = std::getenv("DRAVIK_TRACE");
    if (v && std::strcmp(v, "stderr") == 0) {
        s.file = stderr;
    } else if (v && *v) {
        s.file = std::fopen(v, "a");
    }
    if (s.file)
        s.any = true;
    s.envRead = true;
}

}  // namespace

bool TraceEnabled() {
    Sinks& s = GetSinks();
    if (!s.envRead) {
        std::lock_guard lock(s.m);
        ReadEnvLocked(s);
    }
    return s.any.load(std::memory_order_relaxed);
}

void TraceText(const std::string& text) {
    Sinks& s = GetSinks();
    std::lock_guard lock(s.m);
    ReadEnvLocked(s);
    if (s.file) {
        std::fwrite(text.data(), 1, text.size(), s.file);
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', s.file);
        std::fflush(s.file);
    }
    for (TraceCapture* c : s.captures)
        c->Add(text);
}

void Trace(const char* format, ...) {
    if (!TraceEnabled())
        return;
    va_list args;
    va_start(args, format);
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string text;
    if (n < 0) {
        text = format;
    } else if (static_cast<size_t>(n) < sizeof small) {
        text.assign(small, static_cast<size_t>(n));
    } else {
        text.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(n));
    }
    va_end(args);
    TraceText(text);
}

TraceCapture::TraceCapture() {
    Sinks& s = GetSinks();
    std::lock_guard lock(s.m);
    ReadEnvLocked(s);
    s.captures.push_back(this);
    s.any = true;
}

TraceCapture::~TraceCapture() {
    Sinks& s = GetSinks();
    std::lock_guard lock(s.m);
    s.captures.erase(std::remove(s.captures.begin(), s.captures.end(), this), s.captures.end());
    s.any = s.file != nullptr || !s.captures.empty();
}

void TraceCapture::Add(const std::string& line) {
    std::lock_guard lock(m_);
    lines_.push_back(line);
}

std::vector<std::string> TraceCapture::Lines() const {
    std::lock_guard lock(m_);
    return lines_;
}

bool TraceCapture::Contains(const std::string& fragment) const {
    return Count(fragment) > 0;
}

size_t TraceCapture::Count(const std::string& fragment) const {
    std::lock_guard lock(m_);
    return static_cast<size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const auto& l) {
        return l.find(fragment) != std::string::npos;
    }));
}

}  // namespace dravik::platform
