#pragma once
// Text files of the program (the error log, the activity report): UTF-8, each
// line ended by carriage return and line feed, opened and closed per write.
// A failure is raised as the runtime's file error (70 permission denied,
// 76 path not found, 61 disk full, 75 any other).

#include <filesystem>
#include <string>
#include <vector>

// Creates the file empty, replacing one that exists.
void CreateTextFile(const std::filesystem::path& file);
// Writes the lines from the file's start, replacing what it held.
void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);
void AppendTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);
// Creates the folder when it does not exist (its parent must exist).
void EnsureFolder(const std::filesystem::path& folder);
