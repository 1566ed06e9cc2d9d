#include "mbhost/windows.h"

#include <algorithm>

#include "mbhost/lexer.h"

namespace mbhost {

WindowList::WindowList() {
    std::int32_t id = 10001;
    for (const char* title : {"Main", "Drawing", "Tools"}) {
        Window pad;
        pad.id = id++;
        pad.type = wintype::kButtonPad;
        pad.title = title;
        pad.widthInches = 3.0;
        pad.heightInches = 0.4;
        pads_.push_back(pad);
    }
}

std::int32_t WindowList::idOfNumber(std::int32_t number) const {
    // An id stands for itself, so WindowId(FrontWindow()) names the front window.
    for (const auto* list : {&documents_, &pads_}) {
        for (const Window& w : *list) {
            if (w.id == number) return number;
        }
    }
    if (number >= 1 && number <= documentCount()) {
        return documents_[static_cast<std::size_t>(number - 1)].id;
    }
    const std::int32_t pads = static_cast<std::int32_t>(pads_.size());
    if (number <= -1 && number >= -pads) return pads_[static_cast<std::size_t>(-number - 1)].id;
    return 0;
}

Window* WindowList::find(std::int32_t idOrNumber) {
    if (idOrNumber == 0) return nullptr;
    const std::int32_t id =
        (idOrNumber < 1000 && idOrNumber > -1000) ? idOfNumber(idOrNumber) : idOrNumber;
    for (auto* list : {&documents_, &pads_}) {
        for (Window& w : *list) {
            if (w.id == id) return &w;
        }
    }
    return nullptr;
}

Window* WindowList::findByTitle(std::string_view title) {
    for (auto* list : {&pads_, &documents_}) {
        for (Window& w : *list) {
            if (equalsIgnoreCase(w.title, title)) return &w;
        }
    }
    return nullptr;
}

Window& WindowList::add(Window window) {
    window.id = nextId_++;
    window.leftInches = 0.5 + 0.25 * static_cast<double>(documents_.size() % 8);
    documents_.push_back(std::move(window));
    front_ = documents_.back().id;
    return documents_.back();
}

void WindowList::close(std::int32_t id) {
    std::erase_if(documents_, [&](const Window& w) { return w.id == id; });
    if (front_ == id) front_ = documents_.empty() ? 0 : documents_.back().id;
}

void WindowList::forgetTable(const std::string& tableKey) {
    std::vector<std::int32_t> emptied;
    for (Window& w : documents_) {
        std::erase(w.tableKeys, tableKey);
        if (w.tableKeys.empty()) emptied.push_back(w.id);
    }
    for (std::int32_t id : emptied) close(id);
}

}  // namespace mbhost
