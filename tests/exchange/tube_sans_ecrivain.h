// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

namespace kvx::exchange::test {

// Runs `action`, which may open the named pipe `pipe`. Should it wait there for
// a writer, the pipe's writing end is opened and closed after a while, so a
// frozen reader is reported as a failure instead of hanging the tests.
inline bool finishesWithoutAWriter(const std::filesystem::path &pipe, const std::function<void()> &action) {
  auto done = std::async(std::launch::async, action);
  if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
    done.get();
    return true;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  done.wait();
  return false;
}

}  // namespace kvx::exchange::test
