#pragma once

#include "model/SwdFile.h"

#include <string>

// The tool's commands. Each prints its result to standard output and returns the exit status;
// a failure is reported through ReportError and leaves nothing written.
int RunInfo(const std::string& swdPath, const swd::ReadOptions& options);
int RunRepack(const std::string& inPath, const std::string& outPath,
              const swd::ReadOptions& options);
int RunExtract(const std::string& swdPath, const std::string& folder,
               const swd::ReadOptions& options);
int RunBuild(const std::string& folder, const std::string& outPath);

// Reads a wad, reporting a failure (and a zero-count file that options do not recover) through
// ReportError.
bool LoadWad(const std::string& path, const swd::ReadOptions& options, SpriteWad& wad,
             swd::SwdFileInfo* info = nullptr);

// Packs the wad's textures onto fresh pages and writes it to outPath, printing what it did;
// `source` names the input in messages. Returns the exit status.
int PackAndWrite(SpriteWad& wad, const std::string& source, const std::string& outPath);

// Prints "vornix-cli: <message>" to standard error and returns exit status 1.
int ReportError(const std::string& message);
