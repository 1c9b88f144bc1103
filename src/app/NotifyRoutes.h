#pragma once
// Routing tables of the main window: a control name (exact, compared with or without case) or a
// prefix followed by a number leads to a handler. A route whose owner is not part of the program
// yet holds an empty handler that the owner fills in.
#include <functional>
#include <string>
#include <vector>

#include "ui/Events.h"

namespace dravik {

class RouteTable {
  public:
    // number: the digits after a prefix, -1 for an exact name.
    using Handler = std::function<void(ui::TNotifyUI& msg, int number)>;
    struct Route {
        std::string name;  // exact name, or a prefix ending in "_"
        bool prefix = false;
        bool caseSensitive = false;
        std::string owner;  // who handles it (for the reader and the tests)
        Handler handler;
    };
    struct Match {
        size_t row;
        int number;
    };

    void Exact(const std::string& name, std::string owner, Handler h = {},
               bool caseSensitive = false);
    void Prefix(const std::string& prefix, std::string owner, Handler h = {});
    // Replaces the handler of a row (an owner joining later).
    bool SetHandler(const std::string& name, Handler h);

    // The rows a name matches: the first exact row, then every prefix row (a prefix followed by
    // at least one digit and nothing else). With firstOnly, only the first match of either kind.
    std::vector<Match> Lookup(const std::string& name, bool firstOnly) const;
    // Runs the handlers of the matching rows; the number of rows that matched.
    size_t Dispatch(ui::TNotifyUI& msg, bool firstOnly) const;
    const std::vector<Route>& Rows() const { return rows_; }

  private:
    std::vector<Route> rows_;
};

// Splits "light_12" into {"light_", 12}; number -1 when the name has no trailing digits.
std::pair<std::string, int> SplitNumberedName(const std::string& name);

}  // namespace dravik
