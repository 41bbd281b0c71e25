#pragma once
// The progress bar of the progress dialog during a run. Work is measured in
// percent: an operation sets gProgressStep to its share and advances the bar
// once per unit of work.

#include <string>
#include <string_view>

// The percentage label's suffixes: the drivers write three dots, the profile
// copy two.
inline constexpr std::string_view kCompletedSuffix = " % Completed...";
inline constexpr std::string_view kProfileCompletedSuffix = " % Completed..";

// The bar's value after one advance by step: the sum rounded to single
// precision, or max when the sum would pass it.
float AdvancedProgressValue(float value, double step, float max);
// The bar's value rounded to a whole number (halves to even), then the suffix.
std::string PercentageText(float value, std::string_view suffix);

// Advances the bar by gProgressStep and gives the message loop a turn.
void UpdateImportProgress();
// Empties the bar and shows "Preparing to copy...".
void InitImportProgess();
