#pragma once
// NAPLPS operand coding: multi-value operands (points, sizes), colour operands and the points
// the decoder sends back.
#include <cstdint>
#include <string>
#include <string_view>

#include "vtx/VtxMirror.h"

// A multi-value operand: each byte carries 3 bits of x (bits 3-5) and 3 of y (bits 0-2), most
// significant first; the 3n-bit two's complement numbers over 2^(3n-1) give -1 up to 1. A
// short operand (cut off by a non-operand byte) uses the bits it has.
VtxPoint DecodePoint(std::string_view bytes);

// A colour operand: each byte carries G R B G R B (bits 5-0), most significant first; each
// component's bits are the high bits of an 8-bit value.
VtxRgb DecodeColour(std::string_view bytes);

// A point as a multi-value operand of `bytes` bytes in GR: x and y times 2^(3n-1), clamped to
// 3n bits, in bytes of 0xC0 | x bits << 3 | y bits. The decoder sends 4-byte points.
std::string EncodePoint(VtxPoint p, int bytes = 4);
