#include "Template.h"

namespace tav {

namespace {

constexpr std::string_view kOpen = "\u00AB";  // «
constexpr std::string_view kClose = "\u00BB"; // »

} // namespace

void AppendFilled(std::string& out, std::string_view text,
                  std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::size_t start = 0;
    while (true) {
        const std::size_t open = text.find(kOpen, start);
        const std::size_t close = open == std::string_view::npos ? open : text.find(kClose, open);
        if (close == std::string_view::npos) {
            out.append(text.substr(start));
            return;
        }
        const std::string_view name = text.substr(open + kOpen.size(), close - open - kOpen.size());
        const std::size_t end = close + kClose.size();
        out.append(text.substr(start, open - start));
        const auto* value = values.begin();
        while (value != values.end() && value->first != name)
            ++value;
        out.append(value != values.end() ? value->second : text.substr(open, end - open));
        start = end;
    }
}

} // namespace tav
