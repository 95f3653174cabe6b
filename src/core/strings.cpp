// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/strings.h"

#include <cctype>

namespace qv {

std::string formatMessage(std::string_view format, std::initializer_list<MessageArg> args)
{
    std::string out;
    out.reserve(format.size() + 64);
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Skip flags, width and length modifiers up to the conversion letter.
        size_t j = i + 1;
        while (j < format.size() && (std::isdigit(static_cast<unsigned char>(format[j])) || format[j] == '-' ||
                                     format[j] == 'l' || format[j] == 'h' || format[j] == '.'))
            ++j;
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        const char conv = format[j];
        if (conv == 's' || conv == 'd' || conv == 'u' || conv == 'i') {
            if (next != args.end()) {
                out += next->text;
                ++next;
            }
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

std::string toPlainLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

}  // namespace qv
