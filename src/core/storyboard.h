// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Storyboards: the 79-byte description file (.qsb), the names of the files that go with
// it (sheet, palette, quantisation palette), the sheet layout (one row of cells per
// direction, a one-pixel grid around the cells), reading and checking a storyboard,
// the blank gridded sheet, and cutting a loaded sheet into frames and a palette.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/flc_format.h"
#include "core/frame_pixels.h"
#include "core/result.h"

namespace qv {

constexpr size_t kStoryboardInfoSize = 79;
constexpr size_t kStoryboardNameField = 64;  // the base name, zero-terminated
constexpr size_t kMaxStoryboardNameLength = kStoryboardNameField - 1;

// The complete content of a .qsb file, little-endian, no padding.
#pragma pack(push, 1)
struct StoryboardInfo {
    char baseName[kStoryboardNameField] = {};  // file name without folder and extension
    uint16_t sheetWidth = 0;
    uint16_t sheetHeight = 0;
    uint8_t frameWidth = 0;
    uint8_t frameHeight = 0;
    uint8_t framesPerDirection = 0;  // columns of the grid
    uint8_t directionCount = 0;      // rows of the grid
    uint16_t speed = 0;              // ms between frames
    uint8_t leftOffset = 0;
    uint8_t topOffset = 0;
    uint8_t imageType = kFormatPcx;  // 1 PCX; anything else is a BMP sheet
    uint8_t paletteType = 0;         // 0 Adobe Color Table, 1 RIFF palette, 2 Jasc palette
    uint8_t leaderHead = 0;          // 1 leader head, 0 unit

    // The base name as a string (up to its terminator, at most 63 characters).
    std::string name() const;
    int totalFrames() const { return int(directionCount) * int(framesPerDirection); }

    // Reads the record from exactly 79 bytes; false for any other size.
    static bool parse(const uint8_t* data, size_t size, StoryboardInfo& out);
    // Writes the 79 bytes; the bytes after the name's terminator are zeros.
    void serialize(uint8_t* out) const;
};
#pragma pack(pop)
static_assert(sizeof(StoryboardInfo) == kStoryboardInfoSize, "the description record is 79 bytes");

// ---- File naming ----

// `path` with its last three characters replaced by `ext` (a path of fewer characters is
// replaced whole).
std::string replaceLastThree(const std::string& path, const std::string& ext);
// The description file for a path: its last three characters become "qsb".
inline std::string qsbPathFor(const std::string& path) { return replaceLastThree(path, "qsb"); }
// ".pcx" for image type 1, ".bmp" for every other value.
const char* sheetExtension(int imageType);
// The folder of a path with its trailing separator ("" when the path has no folder).
std::string folderOf(const std::string& path);
// The file name of a path without folder and extension.
std::string baseNameOf(const std::string& path);
// The sheet: the description file's folder + base name + ".pcx" or ".bmp".
std::string storyboardSheetPath(const std::string& qsbPath, const StoryboardInfo& info);
// The palette: the description path with "act" (type 0) or "pal" (1, 2) for its last three
// characters; for other types the last three characters are only removed.
std::string storyboardPalettePath(const std::string& qsbPath, int paletteType);
// The quantisation palette: "_Default" inserted before the palette path's last four characters.
std::string quantisationPalettePath(const std::string& palettePath);

// ---- The description file ----

// Reads a .qsb file: false unless it is exactly 79 bytes.
bool ReadQSB(const std::string& path, StoryboardInfo& out);
// Writes the record to `path` with its last three characters replaced by "qsb", in one
// piece. False when the file cannot be written.
bool WriteQSB(const std::string& path, const StoryboardInfo& info);

// The fields of a description besides the base name.
struct StoryboardGeometry {
    int sheetWidth = 0;
    int sheetHeight = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    int framesPerDirection = 0;
    int directions = 0;
    int speed = 0;
    int leftOffset = 0;
    int topOffset = 0;
    int imageType = kFormatPcx;
    int paletteType = 0;
    int leaderHead = 0;  // stored as 1 when non-zero

    // A grid of `directions` rows and `framesPerDirection` columns of w x h cells on a sheet
    // sized as the program makes sheets, with the other fields as given.
    static StoryboardGeometry grid(int frameWidth, int frameHeight, int framesPerDirection, int directions,
                                   int speed, int leftOffset, int topOffset, int imageType, int paletteType,
                                   bool leaderHead);
};

// Fills a record for `path`: the base name is the path's file name without folder and
// extension. A name longer than 63 bytes (the record's field) is refused with
// "'%s'\r\nThe storyboard name is too long..." (the path).
Status makeStoryboardInfo(const std::string& path, const StoryboardGeometry& g, StoryboardInfo& out);
// makeStoryboardInfo, then WriteQSB; a failed write gives "Cannot write QSB file.".
Status writeStoryboardDescription(const std::string& path, const StoryboardGeometry& g);

// ---- Writing a storyboard as one unit ----

// The files of a storyboard written together: sheet, palette files and description. They
// are written to temporary names beside their targets first and then moved into place,
// the description last; when any of them fails, every old file is left exactly as it
// was (writeFilesAsUnit). Every storyboard writer goes through this.
class StoryboardFileSet {
public:
    // Adds a file; `failure` is the message shown when this file is the one that fails.
    // A later file of the same path replaces an earlier one.
    void add(const std::string& path, Bytes data, std::string failure);
    // Removes an existing file of that name as part of the unit (a stale palette file).
    void remove(const std::string& path);
    // The sheet, encoded as PCX (1) or BMP (6) at 8 or 24 bits; an encoding failure is
    // returned at once.
    Status addSheet(const std::string& path, const Bitmap& sheet, int formatCode, int bitsPerPixel);
    // A palette file as ExportPaletteToFile names it from `path`, `type` and `suffix`;
    // fails with "Cannot write palette to file." for an unknown type.
    Status addPalette(const std::string& path, const Palette256& palette, int type, const std::string& suffix = {});
    // The description, moved into place after every other file, at qsbPathFor(path).
    void describe(const std::string& path, const StoryboardInfo& info);
    // Writes the set. On failure the message is the failing file's.
    Status commit() const;

private:
    std::vector<FileWrite> files_;
    std::vector<std::string> failures_;
    FileWrite description_;
    bool hasDescription_ = false;
};

// Saves a storyboard document (Save and Save As of the storyboard window): the palette
// file in the record's palette type and the description at `qsbPath`, whose base name
// becomes the file name of `qsbPath`, written as one unit. With `sheetFrom` (Save As to
// another name or folder), the sheet file is copied from there to the sheet the new
// description names, in the same unit ("Cannot copy from\r\n'%s'\r\nto\r\n'%s'." when it
// cannot be read). Messages: "Cannot write palette to file.", "Cannot write QSB file.",
// the too-long-name refusal.
Status SaveStoryboard(const std::string& qsbPath, const StoryboardInfo& info, const Palette256& palette,
                      const std::string& sheetFrom = std::string());

// ---- Sheet layout ----
// Cell (d, j) (direction row d, frame column j) of a sheet of w x h frames has its
// top-left pixel at (1 + j (w + 1), 1 + d (h + 1)); grid lines run at x = k (w + 1) and
// y = k (h + 1).

inline int cellLeft(int frameWidth, int column) { return 1 + column * (frameWidth + 1); }
inline int cellTop(int frameHeight, int row) { return 1 + row * (frameHeight + 1); }
inline int sheetWidthFor(int frameWidth, int framesPerDirection) { return framesPerDirection * (frameWidth + 1) + 1; }
inline int sheetHeightFor(int frameHeight, int directions) { return directions * (frameHeight + 1) + 1; }
// The most cells of a side of `frameSide` pixels that fit one row or column of a sheet
// (no wider or higher than a picture can be): (side + 1) n + 1 <= 32767.
inline int maxSheetCells(int frameSide)
{
    return (kMaxImageSide - 1) / (frameSide + 1);
}

// Draws the grid of `directions` rows and `framesPerDirection` columns with the raw
// value `value` (an index, or 0x00RRGGBB on a 24-bit sheet), clipped to the sheet.
void drawSheetGrid(Bitmap& sheet, int frameWidth, int frameHeight, int directions, int framesPerDirection,
                   uint32_t value);

// Copies cell (row, column) of an 8-bit sheet into `out` (w x h bytes, rows top to
// bottom). Pixels of the cell outside the sheet become `outside`.
void copyCellOut(const Bitmap& sheet, int frameWidth, int frameHeight, int row, int column, uint8_t* out,
                 uint8_t outside = kTransparentIndex);
// Puts a w x h picture of palette indices into cell (row, column) of an 8-bit sheet,
// clipped to the sheet.
void copyCellIn(Bitmap& sheet, int frameWidth, int frameHeight, int row, int column, const uint8_t* picture);

// ---- Reading a storyboard ----

// Reads the description at `path` and loads its sheet, checking in this order: the
// description ("Cannot read QSB file..."), the sheet's existence ("'%s'\nImage file isn't
// exist."), zero sizes ("'%s'\nStoryboard contain invalid image sizes."), the sheet's depth
// (8 or 24), its format against the record's image type, its size against the record's
// sheet size, and the loading itself ("'%s'\r\nCannot load image file.").
Status StoryboardToFlc(const std::string& path, StoryboardInfo& info, Bitmap& sheet);

// The frames and palette a storyboard view plays.
struct StoryboardFrames {
    std::vector<FramePixels> frames;  // D x F pictures of w x h, frame d x F + j
    Palette256 palette;                        // the working palette
    PaletteEntry keyColour;                    // palette entry 255
    StoryboardInfo info;                       // the record, speed 0 read as 10
};

// Cuts a sheet loaded by StoryboardToFlc into frames as the storyboard view does. The
// palette is the palette file's; failing that, an 8-bit sheet's own colours, or for a
// 24-bit sheet the quantisation palette ("'%s'\r\nCannot load palette file." when that
// fails too). A 24-bit sheet is reduced to the quantisation palette by nearest colour.
Status cutStoryboardSheet(const std::string& qsbPath, const StoryboardInfo& info, const Bitmap& sheet,
                          StoryboardFrames& out);

// Refuses a storyboard whose FLC file the program would itself refuse, before it is
// encoded (Export to FLC, to-flc): frames wider or higher than 240 pixels
// ("'%s'\r\nThe storyboard's frames are %d x %d pixels..."), or a grid of directions and
// frames per direction that does not fit the record's sheet, which would only add blank
// frames ("'%s'\r\nThe storyboard's %d direction(s) of %d frame(s) need a sheet...").
Status checkStoryboardForFlc(const std::string& qsbPath, const StoryboardInfo& info);

// StoryboardToFlc and cutStoryboardSheet in one.
Status loadStoryboard(const std::string& path, StoryboardFrames& out);

// ---- The blank sheet ----

// A sheet of sheetWidth x sheetHeight at 8 or 24 bits per pixel, filled with palette entry
// 255's colour, with the grid in black (on an 8-bit sheet the palette entry nearest to
// black). Any zero argument: "Some of the parameter(s) is/are not valid.". When `sheetPath`
// is given, it is tested first that the sheet could be written there, without changing an
// existing file (canWriteFile); if it cannot, the failure carries no message and the
// caller reports that the storyboard could not be created.
Status CreateStoryboard(int sheetWidth, int sheetHeight, int frameWidth, int frameHeight, int directions,
                        int framesPerDirection, int bitsPerPixel, const Palette256& palette, Bitmap& out,
                        const std::string& sheetPath = std::string());

}  // namespace qv
