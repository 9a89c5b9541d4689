#include "common/formaterror.h"

#include "common/systemerrortext.h"

#include <cstdio>

namespace quendral::util {

std::string formatError(const ErrorInfo& error) {
    std::string text;
    if (!error.context.empty()) {
        text = error.context + ": ";
    }
    if (auto systemText = systemErrorText(error.code)) {
        while (!systemText->empty() && (systemText->back() == '\n' || systemText->back() == '\r')) {
            systemText->pop_back();
        }
        text += *systemText;
    } else {
        text += "Unknown error [Failed to look up error message]";
    }
    char code[16];
    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(error.code));
    text += " (Error: 0x";
    text += code;
    text += ")";
    return text;
}

} // namespace quendral::util
