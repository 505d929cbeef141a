#include "TypeRejet.h"

#include <string_view>

int IndexTypeRejet(const std::string& lettre) {
    if (lettre.empty()) return 2;
    const std::size_t position = std::string_view(kLettresRejet).find(lettre);
    return position == std::string_view::npos ? 2 : static_cast<int>(position);
}

std::string LettreTypeRejet(int index) {
    if (index < 0 || index > 4) index = 2;
    return std::string(1, kLettresRejet[index]);
}
