// Test cases kept in text files beside their tests: one case a line, its fields separated by
// tabs, '#' beginning a comment line. In a field "-" alone is empty; \n \r \t \\ and \xHH stand
// for their bytes (any other backslash is itself, as in a path); c{N} stands for N times c.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

inline std::string DataField(const std::string &text)
{
    if (text == "-") return "";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i], next = i + 1 < text.size() ? text[i + 1] : '\0';
        const size_t close = text.find('}', i);
        if (c == '\\' && next == 'x' && i + 3 < text.size() && isxdigit((unsigned char)text[i + 2]) &&
            isxdigit((unsigned char)text[i + 3]))
            out += char(std::stoi(text.substr(i + 2, 2), nullptr, 16)), i += 3;
        else if (c == '\\' && (next == 'n' || next == 'r' || next == 't' || next == '\\'))
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\', ++i;
        else if (c == '{' && !out.empty() && isdigit((unsigned char)next) && close != std::string::npos)
            out.resize(out.size() - 1 + std::stoul(text.substr(i + 1, close - i - 1)), out.back()), i = close;
        else
            out += c;
    }
    return out;
}

// The rows of the file at path, each as its decoded fields; a file cut short or missing fails the
// test through the expected number of rows.
inline std::vector<std::vector<std::string>> ReadDataRows(const std::string &path, size_t expectedRows)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back();
        for (size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1)
            rows.back().push_back(DataField(line.substr(start, (tab = line.find('\t', start)) - start)));
    }
    EXPECT_EQ(rows.size(), expectedRows) << path;
    return rows;
}
