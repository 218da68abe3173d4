#pragma once

#include <optional>
#include <string>
#include <vector>

// The tool's commands. Each prints its result to standard output and returns the exit status;
// a failure is reported through ReportError and leaves nothing written.
int RunInfo(const std::string& swdPath);
int RunRepack(const std::string& inPath, const std::string& outPath);
int RunExtract(const std::string& swdPath, const std::string& folder);

// The options of export-texture as typed; empty when not given.
struct ExportTextureOptions {
    std::string format;
    std::string quality;
    bool runLength = false;
};
int RunExportTexture(const std::string& swdPath, const std::string& slot, const std::string& line,
                     const std::string& outPath, const ExportTextureOptions& options);
int RunAddTexture(const std::string& inPath, const std::string& slot, const std::string& outPath,
                  const std::vector<std::string>& imagePaths);

// A whole number from min to max written in decimal digits only, or nothing.
std::optional<long long> ParseWholeNumber(const std::string& text, long long min, long long max);

// Prints "vornix-cli: <message>" to standard error and returns exit status 1.
int ReportError(const std::string& message);
