// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The box's program for optical-fork mode, as the lines of Intel HEX the
// program sends it, and the checks of such lines. The image compiled in from
// data/veltor.hex is our own bytes in the loader's layout: it is for the
// simulated box alone, which uses the same checks to accept or refuse what it
// is sent, as the real box's loader does. A real box gets the maker's image,
// read from a file the user installs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx::device {

// One line of Intel HEX, read.
struct HexRecord {
  std::uint8_t type = 0;  // 0 data, 1 end of file
  std::uint16_t address = 0;
  std::vector<std::uint8_t> data;
};

// The longest line of the image.
inline constexpr std::size_t kMaxHexLineLength = 64;
inline constexpr std::uint8_t kHexData = 0;
inline constexpr std::uint8_t kHexEndOfFile = 1;

// Reads one line (":" count, address, type, data, checksum, in upper- or
// lower-case hexadecimal, nothing after). nullopt with the reason in `error`
// for anything else: a missing colon, a line too long, odd or non-hex
// digits, a count that does not match the line, a wrong checksum.
std::optional<HexRecord> ParseHexLine(std::string_view line, std::string *error = nullptr);

// Where the fork program's records go, in order: the loader of the box takes
// exactly this layout (and the end-of-file record after it).
struct HexSpan {
  std::uint16_t address;
  std::uint8_t count;
};
const std::vector<HexSpan> &VeltorLayout();

// Whether `lines` is a whole fork program: every line sound and at most 64
// characters, the data records in the layout above, then ":00000001FF".
bool CheckVeltorImage(const std::vector<std::string> &lines, std::string *error = nullptr);

// The 24 lines of the simulated box's image, in order.
const std::vector<std::string> &VeltorProgramLines();

// A file holding more than this is no fork program.
inline constexpr std::size_t kMaxVeltorImageFile = 64 * 1024;

// The maker's image as found on disk.
struct VeltorImageFile {
  std::vector<std::string> lines;  // the checked lines; empty when none is usable
  std::string path;                // the file read; empty when none of the places has one
  std::string error;               // why the file read was refused (French)
};

// Reads the first of `candidates` that exists as a file: at most
// kMaxVeltorImageFile bytes, one record a line (LF or CR LF, blank lines and a
// byte-order mark ignored), checked with CheckVeltorImage.
VeltorImageFile ReadVeltorImageFile(const std::vector<std::string> &candidates);

// Which image goes to the box found: the compiled-in one only to the
// simulated box this program started itself (its port number; 0 when it
// started none), the maker's from the first of `makerFiles` to any other.
struct VeltorImageSource {
  int ownPort = 0;
  std::vector<std::string> makerFiles;
};

}  // namespace kvx::device
