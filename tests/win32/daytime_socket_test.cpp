// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loopback_server.h"
#include "win32/daytime_socket_win32.h"

namespace tikora {
namespace {

using test::LoopbackServer;
using test::PumpUntil;

const std::string kNist = "\n60112 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";

// A socket whose events are written down as they come.
class DaytimeSocketTest : public ::testing::Test {
  protected:
    DaytimeSocket& Connect() {
        socket_.Connect("127.0.0.1", server_.Port());
        return socket_;
    }
    bool Ended() const { return closed_ > 0 || !errors_.empty(); }

    LoopbackServer server_;
    int connected_ = 0;
    int closed_ = 0;
    std::string received_;
    std::vector<std::pair<QueryFailure, std::string>> errors_;
    DaytimeSocket socket_{{[this] { ++connected_; },
                           [this](std::string_view piece) { received_ += piece; },
                           [this] { ++closed_; },
                           [this](QueryFailure failure, const std::string& detail) {
                               errors_.emplace_back(failure, detail);
                           }}};
};

TEST_F(DaytimeSocketTest, ReplyArrivesWholeThenTheConnectionCloses) {
    Connect();
    LoopbackServer::Answer(server_.Accept(), kNist);
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    EXPECT_EQ(connected_, 1);
    EXPECT_EQ(received_, kNist);
    EXPECT_EQ(closed_, 1);
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(socket_.IsOpen());
}

TEST_F(DaytimeSocketTest, ReplyInPiecesArrivesPieceByPiece) {
    Connect();
    const SOCKET connection = server_.Accept();
    LoopbackServer::Send(connection, kNist.substr(0, 20));
    ASSERT_TRUE(PumpUntil([&] { return received_.size() == 20; }));
    EXPECT_EQ(closed_, 0);
    LoopbackServer::Answer(connection, kNist.substr(20));
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    EXPECT_EQ(received_, kNist);
    EXPECT_EQ(closed_, 1);
}

TEST_F(DaytimeSocketTest, RefusedConnectionIsReportedAsRefused) {
    server_.StopListening();
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].first, QueryFailure::Refused);
    EXPECT_EQ(connected_ + closed_, 0);
    EXPECT_FALSE(socket_.IsOpen());
}

// A new query closes the one under way: nothing of the first connection arrives after it, even
// what its server sent before the second began.
TEST_F(DaytimeSocketTest, ANewConnectionSilencesTheOldOne) {
    Connect();
    const SOCKET first = server_.Accept();
    ASSERT_TRUE(PumpUntil([&] { return connected_ == 1; }));
    LoopbackServer::Answer(first, "first");
    Connect();
    LoopbackServer::Answer(server_.Accept(), "second");
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    EXPECT_EQ(received_, "second");
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(connected_, 2);
}

}  // namespace
}  // namespace tikora
