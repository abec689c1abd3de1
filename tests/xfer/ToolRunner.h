#pragma once
// quilite-xfer as the tests start it.
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/fixtures/LinkPair.h"
#include "tests/fixtures/PeerProcess.h"

namespace xfertest {

inline const std::string kTool = std::string(QUILITE_BINARY_DIR) + "/tools/quilite-xfer";

// Runs quilite-xfer with args in folder and nobody on its standard input and output; its exit
// status.
inline int runToolAlone(const std::vector<std::string>& args, const std::string& folder) {
    std::vector<std::string> argv{kTool};
    argv.insert(argv.end(), args.begin(), args.end());
    PeerProcess p(argv, -1, folder);
    return p.wait(30000);
}

// Two programs on the two ends of a socketpair, their error output in the files (or terminals)
// named; returns their exit statuses. The sender starts first: an XMODEM or YMODEM sender drops
// what it finds waiting when it starts.
inline std::pair<int, int> runSessionWithErrors(const std::vector<std::string>& sender,
                                                const std::string& senderDir,
                                                const std::string& senderErrors,
                                                const std::vector<std::string>& receiver,
                                                const std::string& receiverDir,
                                                const std::string& receiverErrors) {
    SocketPair pair;
    PeerProcess sending(sender, pair.ours, senderDir, senderErrors);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PeerProcess receiving(receiver, pair.theirs, receiverDir, receiverErrors);
    pair.closeOurs();
    pair.closeTheirs();
    const int s = sending.wait(60000);
    return {s, receiving.wait(60000)};
}

// The same with the error output in logDir, as sender.log and receiver.log.
inline std::pair<int, int> runSession(const std::vector<std::string>& sender,
                                      const std::string& senderDir,
                                      const std::vector<std::string>& receiver,
                                      const std::string& receiverDir, const std::string& logDir) {
    return runSessionWithErrors(sender, senderDir, logDir + "/sender.log", receiver, receiverDir,
                                logDir + "/receiver.log");
}

}  // namespace xfertest
