// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kvx::exchange {

// A file could not be read or written; the message names the file and the
// reason, in the user's language.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces the target with exactly these bytes, or leaves it as it was: the
// bytes go to a new file in the same folder, which is flushed to the disk and
// then renamed over the target, so a full disk, a crash or a pulled USB stick
// never leaves a half-written configuration behind. A target marked read-only
// (no write permission for anyone) is refused, as the user asked it to stay.
// A symbolic link is followed, so the file it points to is replaced. Only a
// regular file is replaced: a folder, a device, a pipe or a socket is refused
// and left as it is. The target keeps its permissions. A failed save removes
// its temporary file; the ones of saves killed half-way (named
// ".<target name>.tmp<letters and digits>") are removed by the next save of
// the same target once they are a minute old. Throws FileError when any step
// fails.
void writeFileAtomically(const std::filesystem::path &target, std::string_view bytes);

// Throws the FileError that writeFileAtomically would give for a target it
// refuses (a folder, a device, a pipe, a socket, a read-only file), before
// anything is read or written; does nothing for a target it would take.
void checkSaveTarget(const std::filesystem::path &target);

// The whole content of a regular file (a symbolic link to one is followed).
// Throws FileError when it cannot be read, is not a regular file (a folder, a
// device, a pipe: never opened, so the program never waits on a pipe) or is
// larger than maxBytes (a configuration is a few kilobytes: a huge file is not
// one, and is refused before it fills the memory).
std::string readWholeFile(const std::filesystem::path &file, std::size_t maxBytes);

}  // namespace kvx::exchange
