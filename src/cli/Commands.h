#pragma once

#include "document/SpriteWad.h"
#include "edits/Edits.h"
#include "formats/SwdFile.h"
#include "images/BTCImageObject.h"
#include "images/ImageFormats.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The tool's commands. Each prints its result to standard output and returns the exit status;
// a failure is reported through ReportError and leaves nothing written.
int RunInfo(const std::string& swdPath, const swd::ReadOptions& options);
int RunRepack(const std::string& inPath, const std::string& outPath,
              const swd::ReadOptions& options);
int RunExtract(const std::string& swdPath, const std::string& folder,
               const swd::ReadOptions& options);
int RunBuild(const std::string& folder, const std::string& outPath);

// Reads a wad for a command that takes --recover, reporting a failure through ReportError; a
// zero-count file that options do not recover is reported with what --recover would load.
bool LoadWad(const std::string& path, const swd::ReadOptions& options, SpriteWad& wad,
             swd::SwdFileInfo* info = nullptr);
// Reads a wad for a command that does not take --recover, reporting a failure through
// ReportError.
bool LoadWad(const std::string& path, SpriteWad& wad);
// The object with slot `slot` of the wad read from `path`; a wad without one is reported through
// ReportError.
std::optional<std::size_t> RequireObject(const SpriteWad& wad, std::uint32_t slot,
                                         const std::string& path);

// Saves the wad to outPath as the editor's Save As SWD does (refusing an empty object, packing
// every texture afresh) and prints what it did. Returns the exit status.
int SaveAndReport(SpriteWad& wad, const std::string& outPath);
// Reads the wad at inPath, makes `edit` on its object with slot `slot` and saves the result to
// outPath, reporting what fails; nothing is written unless every step succeeds.
std::optional<edits::Edit>
EditObjectAndSave(const std::string& inPath, std::uint32_t slot, const std::string& outPath,
                  const std::function<edits::EditResult(SpriteWad& wad, std::size_t object)>& edit);

int RunExportObject(const std::string& swdPath, std::uint32_t slotId, const std::string& outPath);
int RunImportObject(const std::string& swdPath, const std::string& swoPath,
                    const std::string& outPath);

// split IN.swd SLOT IMAGE OUT.swd --piece WxH [--pad]
struct SplitRequest {
    std::string inPath;
    std::uint32_t slot = 0;
    std::string imagePath;
    std::string outPath;
    int pieceWidth = 0;
    int pieceHeight = 0;
    bool pad = false;
};
// resize IN.swd SLOT FIRST LAST OUT.swd --size WxH [--keep-aspect] [--filter stretch|bilinear]
struct ResizeRangeRequest {
    std::string inPath;
    std::uint32_t slot = 0;
    int first = 0;
    int last = 0;
    std::string outPath;
    edits::ResizeRequest resize;
};
// move-texture IN.swd SLOT FIRST LAST TO OUT.swd
struct MoveTextureRequest {
    std::string inPath;
    std::uint32_t slot = 0;
    int first = 0;
    int last = 0;
    int to = 0;
    std::string outPath;
};
// export-texture IN.swd SLOT LINE OUT [--format NAME] [--quality Q] [--rle]
struct ExportTextureRequest {
    std::string swdPath;
    std::uint32_t slot = 0;
    int line = 0;
    std::string outPath;
    // From --format, else from OUT's extension.
    ImageFormat format = ImageFormat::Bmp;
    ExportOptions options;
};
// Read a command's words; a malformed command line gives nothing, with the reason in `problem`.
std::optional<SplitRequest> ParseSplit(const std::vector<std::string>& args, std::string& problem);
std::optional<ResizeRangeRequest> ParseResize(const std::vector<std::string>& args,
                                              std::string& problem);
std::optional<MoveTextureRequest> ParseMoveTexture(const std::vector<std::string>& args,
                                                   std::string& problem);
std::optional<ExportTextureRequest> ParseExportTexture(const std::vector<std::string>& args,
                                                       std::string& problem);
int RunSplit(const SplitRequest& request);
int RunResize(const ResizeRangeRequest& request);
int RunMoveTexture(const MoveTextureRequest& request);
int RunExportTexture(const ExportTextureRequest& request);
int RunAddTexture(const std::string& inPath, std::uint32_t slot, const std::string& outPath,
                  const std::vector<std::string>& imagePaths);

// A whole number from min to max written in decimal digits only, or nothing.
std::optional<long long> ParseWholeNumber(const std::string& text, long long min, long long max);
// A slot number, 32 bits unsigned as in the file, or nothing, with the reason in `problem` when
// it is given.
std::optional<std::uint32_t> ParseSlot(const std::string& text, std::string* problem = nullptr);

// Prints "vornix-cli: <message>" to standard error and returns exit status 1.
int ReportError(const std::string& message);

// "1 texture", "2 textures": a count with its noun, for the commands' reports.
std::string Counted(long long count, const std::string& noun);
