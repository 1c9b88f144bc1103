#include "app/NotifyRoutes.h"

#include <strings.h>

#include <cctype>

#include "ui/Control.h"

namespace dravik {

std::pair<std::string, int> SplitNumberedName(const std::string& name) {
    size_t start = name.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1])))
        --start;
    if (start == name.size() || name.size() - start > 6)
        return {name, -1};
    return {name.substr(0, start), std::stoi(name.substr(start))};
}

void RouteTable::Exact(const std::string& name, std::string owner, Handler h, bool caseSensitive) {
    rows_.push_back({name, false, caseSensitive, std::move(owner), std::move(h)});
}

void RouteTable::Prefix(const std::string& prefix, std::string owner, Handler h) {
    rows_.push_back({prefix, true, false, std::move(owner), std::move(h)});
}

bool RouteTable::SetHandler(const std::string& name, Handler h) {
    for (auto& r : rows_)
        if (r.name == name) {
            r.handler = std::move(h);
            return true;
        }
    return false;
}

std::vector<RouteTable::Match> RouteTable::Lookup(const std::string& name, bool firstOnly) const {
    std::vector<Match> out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Route& r = rows_[i];
        if (r.prefix)
            continue;
        const bool same =
            r.caseSensitive ? r.name == name : strcasecmp(r.name.c_str(), name.c_str()) == 0;
        if (same) {
            out.push_back({i, -1});
            break;
        }
    }
    if (firstOnly && !out.empty())
        return out;
    const auto [head, number] = SplitNumberedName(name);
    if (number < 0)
        return out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Route& r = rows_[i];
        if (r.prefix && strcasecmp(r.name.c_str(), head.c_str()) == 0) {
            out.push_back({i, number});
            if (firstOnly)
                break;
        }
    }
    return out;
}

size_t RouteTable::Dispatch(ui::TNotifyUI& msg, bool firstOnly) const {
    if (!msg.pSender)
        return 0;
    const auto matches = Lookup(msg.pSender->GetName(), firstOnly);
    for (const Match& m : matches)
        if (rows_[m.row].handler)
            rows_[m.row].handler(msg, m.number);
    return matches.size();
}

}  // namespace dravik
