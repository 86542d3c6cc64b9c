// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx::exchange {

// Requests reach a running instance over a local socket as lines of UTF-8
// text. This cuts the byte stream of one connection into requests and drops
// those that no start of this program would send: longer than 64 KiB, not
// valid UTF-8, or holding control characters other than a tab. A request
// ends at a line feed (a carriage return before it is dropped); the bytes of
// a line that the end of the connection cuts off are no request, as their
// sender may have been stopped in the middle of a file name.
class LecteurDemandes {
 public:
  static constexpr std::size_t kTailleMax = 64 * 1024;

  // One element per request completed by these bytes; nothing for a request
  // that was dropped. An empty text is a valid request.
  std::vector<std::optional<std::string>> ajoute(std::string_view octets);
  // The connection ended: a dropped request (an empty element) when bytes of
  // an unended line were received, else nothing.
  std::optional<std::optional<std::string>> termine();

 private:
  std::optional<std::string> complete();

  std::string m_ligne;
  bool m_tropLongue = false;
  bool m_entamee = false;
};

// True for the text of a valid request (without its line end).
bool EstDemandeValide(std::string_view texte);

}  // namespace kvx::exchange
