#include "platform/CommandTable.h"

namespace tessary {

void CommandTable::Add(int firstId, int lastId, int code, std::function<void(int index)> handler) {
    routes_.push_back({firstId, lastId, code, std::move(handler)});
}

void CommandTable::Add(int id, int code, std::function<void()> handler) {
    Add(id, id, code, [h = std::move(handler)](int) { h(); });
}

bool CommandTable::Dispatch(int id, int code) const {
    for (const Route& r : routes_) {
        if (id >= r.firstId && id <= r.lastId && (r.code == kAnyCode || r.code == code)) {
            r.handler(id - r.firstId);
            return true;
        }
    }
    return false;
}

} // namespace tessary
