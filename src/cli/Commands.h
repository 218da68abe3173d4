#pragma once

#include <cstdint>
#include <string>

// The tool's commands. Each prints its result to standard output and returns the exit status;
// a failure is reported through ReportError and leaves nothing written.
int RunInfo(const std::string& swdPath);
int RunRepack(const std::string& inPath, const std::string& outPath);
int RunExtract(const std::string& swdPath, const std::string& folder);
int RunExportObject(const std::string& swdPath, std::uint32_t slotId, const std::string& outPath);
int RunImportObject(const std::string& swdPath, const std::string& swoPath,
                    const std::string& outPath);

// Prints "vornix-cli: <message>" to standard error and returns exit status 1.
int ReportError(const std::string& message);
