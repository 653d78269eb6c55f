// WM_COMMAND routing: a table from control id (or a range of ids, a control array) and
// notification code to the handler, in place of a chain of id comparisons.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>

namespace tessary {

class CommandTable {
public:
    // Any notification code.
    static constexpr int kAnyCode = -1;

    // Ids first..last form a control array: the handler gets the index (id - first).
    void Add(int firstId, int lastId, int code, std::function<void(int index)> handler);
    void Add(int id, int code, std::function<void()> handler);

    // Runs the handler of the first route that takes (id, code); false when none does.
    bool Dispatch(int id, int code) const;

private:
    struct Route {
        int firstId, lastId, code;
        std::function<void(int)> handler;
    };
    std::vector<Route> routes_;
};

} // namespace tessary
