#include "platform/RegisteredMessages.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <vector>

namespace dravik::platform {
namespace {

struct Registry {
    std::mutex m;
    std::map<std::string, uint32_t> byFolded;
    std::vector<std::string> names;  // index = id - first
};

Registry& GetRegistry() {
    static Registry r;
    return r;
}

std::string Fold(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

uint32_t RegisterMessage(const std::string& name) {
    if (name.empty())
        return 0;
    Registry& r = GetRegistry();
    std::lock_guard lock(r.m);
    std::string folded = Fold(name);
    if (auto it = r.byFolded.find(folded); it != r.byFolded.end())
        return it->second;
    uint32_t id = kFirstRegisteredMessage + static_cast<uint32_t>(r.names.size());
    if (id > kLastRegisteredMessage)
        return 0;
    r.names.push_back(name);
    r.byFolded.emplace(folded, id);
    return id;
}

std::optional<std::string> RegisteredMessageName(uint32_t id) {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.m);
    if (id < kFirstRegisteredMessage || id - kFirstRegisteredMessage >= r.names.size())
        return std::nullopt;
    return r.names[id - kFirstRegisteredMessage];
}

}  // namespace dravik::platform
