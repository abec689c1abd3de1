#pragma once
// ZMODEM's frame types, special bytes and header flags.

enum ZFrameType : int {
    ZRQINIT = 0,
    ZRINIT = 1,
    ZSINIT = 2,
    ZACK = 3,
    ZFILE = 4,
    ZSKIP = 5,
    ZNAK = 6,
    ZABORT = 7,
    ZFIN = 8,
    ZRPOS = 9,
    ZDATA = 10,
    ZEOF = 11,
    ZFERR = 12,
    ZCRC = 13,
    ZCHALLENGE = 14,
    ZCOMPL = 15,
    ZCAN = 16,
    ZFREECNT = 17,
    ZCOMMAND = 18,
};

enum ZByte : int {
    ZPAD = '*',
    ZDLE = 24,
    ZBIN = 'A',
    ZHEX = 'B',
    ZBIN32 = 'C',
    XON = 17,
    XOFF = 19,
    CAN = 24,
    NAK = 21,
    // Subpacket ends, sent after a ZDLE.
    ZCRCE = 'h',
    ZCRCG = 'i',
    ZCRCQ = 'j',
    ZCRCW = 'k',
    ZRUB0 = 'l',  // escaped 0x7F
    ZRUB1 = 'm',  // escaped 0xFF
};

// Results of the escaped-byte reader beside plain bytes 0..255.
enum ZReadResult : int {
    GOTOR = 256,
    GOTCRCE = ZCRCE | GOTOR,
    GOTCRCG = ZCRCG | GOTOR,
    GOTCRCQ = ZCRCQ | GOTOR,
    GOTCRCW = ZCRCW | GOTOR,
    GOTCAN = GOTOR | CAN,
    ZERROR = -1,
    ZGARBAGE = -4,
};

// Flag bytes within a header: ZF0 is the last of the four.
enum ZHeaderIndex : int { ZP0 = 0, ZP1 = 1, ZP2 = 2, ZP3 = 3, ZF3 = 0, ZF2 = 1, ZF1 = 2, ZF0 = 3 };

// ZRINIT capability bits (ZF0).
enum ZReceiverFlags : int {
    CANFDX = 0x01,
    CANOVIO = 0x02,
    CANBRK = 0x04,
    CANFC32 = 0x20,
    ESCCTL = 0x40,
};

// ZFILE conversion option (ZF0) values.
enum ZConversion : int { ZCBIN = 1, ZCNL = 2, ZCRESUM = 3 };
