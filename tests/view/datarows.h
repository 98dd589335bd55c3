// Test rows kept in tab-separated files beside the tests (PARLEVO_VIEW_DATA_DIR).
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

// The tab-separated rows of a data file, each field unescaped ("-" empty; x*N at the start is N times x).
inline std::vector<std::vector<std::string>> ReadRows(const char *name, size_t atLeast)
{
    std::ifstream in(std::string(PARLEVO_VIEW_DATA_DIR "/") + name, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back(1);
        for (size_t i = 0; i < line.size(); ++i) {
            std::string &field = rows.back().back();
            if (line[i] == '\t') {
                rows.back().emplace_back();
            } else if (line[i] != '\\' || i + 1 == line.size()) {
                field += line[i];
            } else if (line[++i] == 'x') {
                field += char(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                field += line[i] == 'n' ? '\n' : line[i] == 'r' ? '\r' : line[i] == 't' ? '\t' : line[i];
            }
        }
        for (std::string &field : rows.back()) {
            if (field == "-") field.clear();
            const size_t n = field.size() > 2 && field[1] == '*' ? field.find_first_not_of("0123456789", 2) : 2;
            if (n > 2)
                field = std::string(std::stoul(field.substr(2)), field[0]) + field.substr(std::min(n, field.size()));
        }
    }
    EXPECT_GE(rows.size(), atLeast) << name;
    return rows;
}
