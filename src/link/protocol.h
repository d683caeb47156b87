#pragma once
// What the program and the unit say to each other on the line: the bytes with a meaning, the
// sizes of every frame and reply, and the time the program gives the unit to answer. The
// transfer engine speaks it and the simulated unit answers it; both take it from here.
#include "model/types.h"

namespace zx {

// Which way a transfer moves the configuration. The values travel in the window's transfer
// request as they are.
enum class TransferDirection : int { Download = 0, Upload = 1 };

// Model identification: five characters at bytes 7..11 of the ident segment. The 4-line unit
// reports FourLineModelId; anything else is taken for the 16-line unit, whose simulated stand-in
// reports SixteenLineModelId.
inline constexpr char FourLineModelId[] = "V4239";
inline constexpr char SixteenLineModelId[] = "V4290";
inline constexpr int ModelIdOffset = 7;
inline constexpr int ModelIdLength = 5;

// Wake-up: one 03, a pause, two 1B, another pause.
inline constexpr Byte WakeUp1 = 0x03;
inline constexpr Byte WakeUp2 = 0x1B;
inline constexpr int WakeUpPauseMs = 500;

inline constexpr Byte ReadCommand = 'D';
inline constexpr Byte WriteCommand = 'U';
inline constexpr Byte FrameEnd = 0x0D;

// The unit's answer to a write frame: 06 accepts it, anything else (15 as a rule) rejects it.
inline constexpr Byte Ack = 0x06;
inline constexpr Byte Nak = 0x15;

// "D", two hex digits of the segment, CR.
inline constexpr int ReadRequestSize = 4;
// The 32 bytes of the segment as they are, then their sum.
inline constexpr int ReadReplySize = static_cast<int>(SegmentSize) + 1;
// "U", two hex digits of the segment, 64 of data, two of the frame sum, CR.
inline constexpr int FrameSumPosition = 3 + 2 * static_cast<int>(SegmentSize);
inline constexpr int WriteFrameSize = FrameSumPosition + 3;
// The clock frame is a write frame of the ident segment: 14 date digits, then zeros.
inline constexpr int ClockDigits = 14;
inline constexpr int ClockZeros = 2 * static_cast<int>(SegmentSize) - ClockDigits;
// Packed-BCD bytes the unit keeps of the clock frame (century, year, month, day, h, m, s).
inline constexpr int ClockBytes = ClockDigits / 2;
// Write replies and clock replies are one byte.
inline constexpr int WriteReplySize = 1;

// How long the program waits for an answer after its frame has left the port (the frame's own
// time on the line comes on top, see ByteLink::lineTimeMs).
inline constexpr int ReplyLimitMs = 2000;
// Tries of one segment, of the model check and of the clock frame.
inline constexpr int MaxAttempts = 11;

} // namespace zx
