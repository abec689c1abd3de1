#pragma once
// Result codes of the transfer engines: 0 is success, every failure a negative number. They are
// the value of GFMonitor::GetLastError() and of SendFile/ReceiveFile.

enum GFError : int {
    GF_OK = 0,
    GF_CARRIER_LOST_WRITING = -801,
    GF_READ_TIMEOUT = -802,  // also ReadByte's "nothing waiting"
    GF_OUTPUT_FULL = -805,   // WriteByte's "try again later"
    GF_USER_ABORT = -901,
    GF_OPEN_FAILED = -902,
    GF_XMODEM_NO_FIRST_BLOCK = -903,
    GF_WRITE_FAILED = -904,
    GF_NO_ZFIN_ANSWER = -907,
    GF_TOO_MANY_ERRORS = -908,
    GF_NO_ANSWER = -909,
    GF_EOT_FAILED = -912,
    GF_REMOTE_CANCEL = -914,
    GF_NO_BUFFER = -920,
    GF_XMODEM_PROTOCOL = -921,
    GF_NAK_FAILED = -922,
    GF_ACK_FAILED = -923,
    GF_WRITE_CHAR_TIMEOUT = -924,
    GF_WRITE_BUFFER_TIMEOUT = -925,
    GF_NOTHING_TO_SEND = -926,
    GF_NO_FILE_LIST = -927,
    GF_KERMIT_PROTOCOL = -928,
    GF_CARRIER_LOST = -929,
    GF_ASCII_READ_FAILED = -930,
    GF_HEADER_CRC = -931,
    GF_NO_FILE_SENT = -932,
};
