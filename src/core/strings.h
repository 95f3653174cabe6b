// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Access to the string table (res/strings/strings.inc) and printf-style filling of
// its "%s"/"%d" placeholders.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qv::str {
#define QV_STRING(id, text) inline constexpr const char id[] = text;
#include "strings.inc"
#undef QV_STRING
}  // namespace qv::str

namespace qv {

// One argument for formatMessage: a string or an integer.
struct MessageArg {
    MessageArg(const char* s) : text(s ? s : "") {}
    MessageArg(std::string s) : text(std::move(s)) {}
    MessageArg(std::string_view s) : text(s) {}
    MessageArg(int v) : text(std::to_string(v)), isNumber(true) {}
    MessageArg(unsigned v) : text(std::to_string(v)), isNumber(true) {}
    MessageArg(long v) : text(std::to_string(v)), isNumber(true) {}
    MessageArg(unsigned long v) : text(std::to_string(v)), isNumber(true) {}
    MessageArg(long long v) : text(std::to_string(v)), isNumber(true) {}
    MessageArg(unsigned long long v) : text(std::to_string(v)), isNumber(true) {}
    std::string text;
    bool isNumber = false;
};

// Fills the placeholders of a string-table text in order: %s, %d, %u, %i and %ld take
// the next argument as it is, "%%" is a percent sign. Missing arguments leave the
// placeholder empty; extra arguments are ignored.
std::string formatMessage(std::string_view format, std::initializer_list<MessageArg> args = {});

// Turns the table's "\r\n" line breaks into "\n" for a terminal.
std::string toPlainLineBreaks(std::string_view text);

}  // namespace qv
