// The poll() event loop against the cases every loop must pass.
#include "platform/PollEventLoop.h"
#include "tests/platform/EventLoopCases.h"

INSTANTIATE_TEST_SUITE_P(EventLoop, EventLoopCases,
                         ::testing::Values(LoopKind{
                             "Poll", [] { return std::unique_ptr<EventLoop>(new PollEventLoop); }}),
                         loopKindName);
