#pragma once
// The steps of the folder access test and the report of their outcome.
#include <array>
#include <string>

enum StepState { ssNotPerformed = 0, ssSuccess = 1, ssFailure = 2 };

enum AccessStep { asCreateDirectory, asDeleteDirectory, asCreateFile, asDeleteFile, asOpenExistingFile, AccessStepCount };

using StepStates = std::array<StepState, AccessStepCount>;

// Lists each performed step with its outcome, between the folder's name and the advice.
std::wstring FolderAccessReport(const std::wstring& folder, const StepStates& states);
