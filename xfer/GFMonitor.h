#pragma once
// The host's window on a running transfer: the engines report progress and errors here, ask it
// whether to stop, and learn from it where a received file goes. Hosts derive from it.
#include <string>

// Transfer types as the monitor reports them.
enum GFTransferType : int {
    GF_TYPE_XMODEM = 0,
    GF_TYPE_XMODEM_1K = 1,
    GF_TYPE_YMODEM = 2,
    GF_TYPE_XMODEM_1KG = 3,
    GF_TYPE_YMODEM_G = 4,
    GF_TYPE_KERMIT = 5,
    GF_TYPE_ASCII = 6,
    GF_TYPE_ZMODEM = 7,
    GF_TYPE_NONE = 8,
};

// Error-check methods (SetCheck).
enum GFCheck : int {
    GF_CHECK_KERMIT = 0,
    GF_CHECK_SUM8 = 1,
    GF_CHECK_CRC16 = 3,
    GF_CHECK_CRC32 = 4
};

class GFMonitor {
public:
    GFMonitor();
    GFMonitor(const GFMonitor&) = default;
    GFMonitor& operator=(const GFMonitor&) = default;
    virtual ~GFMonitor() = default;

    virtual void PostOpen() {}
    virtual void Initialize(int sending);
    virtual int UserMonitor(int lastError) { return lastError; }
    // English diagnostic lines of at most 83 characters.
    virtual void TransferMessage(char* /*text*/) {}
    // 0 to go on, or a negative code (the host uses -901) to stop.
    virtual int TransferAbort() { return 0; }
    virtual void AsciiPrinter(char /*c*/) {}
    virtual void SetLastError(int code) { lastError_ = code; }
    virtual void AddPos(int n) { SetPos(GetPos() + n); }
    virtual void SetPos(unsigned long pos) { pos_ = pos; }
    virtual void SetTransferType(int type);
    virtual void SetFileLength(unsigned long n);
    // Receiving: given the bare name, must leave the full path of the file to create.
    virtual void SetFileName(const char* name) { fileName_ = name ? name : ""; }
    virtual void OnRecovery();
    virtual void OnSuccess() { posAll_ += static_cast<long>(pos_); }
    virtual void SetTotalInfo(int files, unsigned long bytes);
    virtual void NextFile() { fileCount_ += 1; }
    virtual void WriteBlock(unsigned char* /*data*/, int /*n*/) {}
    virtual void OnCloseFile(int /*skipped*/) {}
    // The name a sender puts on the wire for a local path (gfSentFileName unless the host
    // converts it, to the host's character code for one).
    virtual std::string AnnouncedName(const std::string& path);

    bool IsZmodem() const { return zmodem_; }
    bool IsXorKermit() const {
        return transferType_ == GF_TYPE_XMODEM || transferType_ == GF_TYPE_KERMIT;
    }
    int GetSending() const { return sending_; }
    void SetSending(int sending) { sending_ = sending; }
    int GetTransferType() const { return transferType_; }
    int GetCheck() const { return check_; }
    void SetCheck(int check) { check_ = check; }
    int GetBlockNumber() const { return blockNumber_; }
    int& GetBlockNumber() { return blockNumber_; }
    void SetBlockNumber(int n) { blockNumber_ = n; }
    int& GetBlockSize() { return blockSize_; }
    void SetBlockSize(int n) { blockSize_ = n; }
    int GetLastError() const { return lastError_; }
    int& GetErrors() { return errors_; }
    int& GetBlockErrorCount() { return blockErrorCount_; }
    void SetBlockErrorCount(int n) { blockErrorCount_ = n; }
    int GetTotalFiles() const { return totalFiles_; }
    int GetFileCount() const { return fileCount_; }
    unsigned int GetAbortKey() const { return abortKey_; }
    void SetAbortKey(unsigned int key) { abortKey_ = key; }
    // Seconds since 1970-01-01 UTC, or -1.
    long GetFileTime() const { return fileTime_; }
    void SetFileTime(long t) { fileTime_ = t; }
    unsigned long GetPacketNumber() const { return packetNumber_; }
    void SetPacketNumber(unsigned long n) { packetNumber_ = n; }
    unsigned long GetFileLength() const { return fileLength_; }
    unsigned long& GetBlockChecksum() { return blockChecksum_; }
    void SetBlockChecksum(unsigned long v) { blockChecksum_ = v; }
    unsigned long GetPos() const { return pos_; }
    unsigned long& HostValue() { return hostValue_; }
    long GetPosAll() const { return posAll_; }
    unsigned long GetResumePos() const { return resumePos_; }
    long GetResumeTotal() const { return resumeTotal_; }
    unsigned long GetTotalBytes() const { return totalBytes_; }
    const std::string& GetFileName() const { return fileName_; }
    const std::string& GetProtocol() const { return protocol_; }

    // The name GetProtocol reports for a transfer type ("<NONE>" outside 0..7).
    static const char* ProtocolName(int type);

private:
    bool zmodem_ = false;
    int sending_ = 0;
    int transferType_ = GF_TYPE_NONE;
    int check_ = 0;
    int blockNumber_ = 0;
    int blockSize_ = 0;
    int lastError_ = 0;
    int errors_ = 0;
    int blockErrorCount_ = 0;
    int totalFiles_ = 0;
    int fileCount_ = 0;
    unsigned int abortKey_ = 27;
    long fileTime_ = -1;
    unsigned long packetNumber_ = 0;
    unsigned long fileLength_ = 0;
    unsigned long blockChecksum_ = 0;
    unsigned long pos_ = 0;
    unsigned long hostValue_ = 0;
    long posAll_ = 0;
    unsigned long resumePos_ = 0;
    long resumeTotal_ = 0;
    unsigned long totalBytes_ = 0;
    std::string fileName_;
    std::string protocol_;
};
