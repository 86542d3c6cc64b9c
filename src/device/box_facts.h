// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The facts of the Nuvex KVX box and of its serial line, in one place: the
// command words, the limits of its acquisition memory and the time-outs the
// program allows it. Code that composes or reads commands takes them from here.

#include <chrono>
#include <cstdint>
#include <string_view>

namespace kvx::device {

// ---- The line ---------------------------------------------------------------
inline constexpr int kBaudRate = 9600;
// 8N1: a start bit, eight data bits and a stop bit on the wire for each byte.
inline constexpr int kBitsPerByte = 10;
// Time one byte takes on the wire at 9600 baud 8N1: 1.0417 ms.
inline constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * kBitsPerByte / kBaudRate};
inline constexpr std::size_t kReceiveBufferSize = 4096;
inline constexpr std::size_t kTransmitBufferSize = 1024;
// Ports are numbered from 1; the search tries at most 50 of them.
inline constexpr int kMaxPorts = 50;
inline constexpr std::uint8_t kCarriageReturn = 13;

// ---- Time-outs, in the box's 55 ms ticks -----------------------------------
inline constexpr std::chrono::milliseconds kTick{55};
// The box answers "XERR" well within 2 s even when it has just been switched on.
inline constexpr int kIdentifyTicks = 36;
// A single-byte answer comes back in about 2 ms; 165 ms covers a busy box.
inline constexpr int kReadByteTicks = 3;
// A decimal answer is at most a few bytes: 275 ms.
inline constexpr int kReadNumberTicks = 5;
// DrainPort's silence window: longer than any gap inside one answer line.
inline constexpr int kDrainQuietTicks = 2;
// DrainPort never goes on longer than this, even against a chattering device:
// the longest answer (255 values, about 1 KB, 1.07 s on the wire) fits inside.
inline constexpr int kDrainLimitTicks = 36;
// A write that cannot go out because the transmit side is full waits this long
// at most: the 1 KB transmit buffer empties in 1.07 s at 9600 baud.
inline constexpr int kWriteTicks = 36;

// ---- Acquisition memory ----------------------------------------------------
// The box's memory is addressed in blocks of 32 raw samples.
inline constexpr int kBlockSize = 32;
// Raw samples of the memory the fast and eight-input forms may fill: 199 blocks.
inline constexpr int kMaxRawSamples = 6368;
// The longest acquisition the program ever asks of the box: 6400 points of one
// input plus the extra point, (6401 div 32) + 1 = 201 blocks.
inline constexpr int kMaxBlocks = 201;
inline constexpr int kMemorySamples = kMaxBlocks * kBlockSize;
// A value-list answer carries at most 255 codes; its line buffer holds 256.
inline constexpr int kMaxValuesPerLine = 255;
inline constexpr int kLineBufferSize = 256;
inline constexpr int kInputCount = 8;

// ---- Sampling periods ------------------------------------------------------
// The box's own sample spacing in fast single-input mode.
inline constexpr double kFastStep = 5.206E-05;
// Below this period one input is sampled with the fast form.
inline constexpr double kFastFormLimit = 0.0005;
// Unit of the period code: 250 us for one and four inputs, 500 us for two and eight.
inline constexpr double kTickShort = 0.00025;
inline constexpr double kTickLong = 0.0005;
inline constexpr int kPeriodMantissaMin = 2;
inline constexpr int kPeriodMantissaMax = 255;
inline constexpr long kPeriodTicksMax = 65535;

// ---- Commands --------------------------------------------------------------
namespace cmd {
inline constexpr std::string_view kIdentify = "XERR";
inline constexpr std::string_view kReset = "XRESET";
inline constexpr std::string_view kFast = "XPEA0 ";
inline constexpr std::string_view kOneInput = "XPEA1 ";
inline constexpr std::string_view kTwoInputs = "XPEA2 ";
inline constexpr std::string_view kFourLow = "XPEA4 0,";
inline constexpr std::string_view kFourHigh = "XPEA4 1,";
inline constexpr std::string_view kEight = "XPEA8 ";
// A one-block fast acquisition of input 0: it ends whatever the box is doing.
inline constexpr std::string_view kStop = "XPEA0 0,1";
inline constexpr std::string_view kStartOnEdge = "XSEAP ";
inline constexpr std::string_view kStartNow = "XEAP";
inline constexpr std::string_view kFetch = "XRESUL ";
inline constexpr std::string_view kReadInput = "XEA ";
inline constexpr std::string_view kSetOutput = "XSA ";
inline constexpr std::string_view kForkStart1 = "XUTIL1";
inline constexpr std::string_view kForkStart2 = "XUTIL2";
inline constexpr std::string_view kForkResults = "XUTIL3 32";
inline constexpr std::string_view kForkCount = "XUTIL4";
}  // namespace cmd

// The word the box puts in its answer to "XERR" (case matters).
inline constexpr std::string_view kIdentityWord = "NUVEX";
// The word in the box's answer once it accepted the optical-fork program.
inline constexpr std::string_view kForkProgramWord = "UTIL";

// Single-byte requests: 64 + input number reads one analog input, 192 the
// binary inputs. Each is answered by one raw byte.
inline constexpr std::uint8_t kReadInputByte = 64;
inline constexpr std::uint8_t kReadBinaryByte = 192;

// ---- Trigger waits ("Seuil", "Bouge") --------------------------------------
// The watch waits for each answer in slices of 2 ms, at most 5 of them, and
// takes the byte the moment it arrives. A request and its answer take 2.08 ms
// on the line, so 10 ms covers a box busy with something else; a request
// left unanswered is simply sent again by the next pass.
inline constexpr std::chrono::milliseconds kTriggerWaitSlice{2};
inline constexpr int kTriggerWaitSlices = 5;
// A box that has answered nothing for 330 ms (and at least two requests in a
// row) while a wait is armed is taken as gone, like a live read that misses
// two ticks: the user sees the not-found panel instead of a wait that never
// ends.
inline constexpr int kTriggerSilentTicks = 2 * kReadByteTicks;
inline constexpr int kTriggerSilentRequests = 2;

}  // namespace kvx::device
