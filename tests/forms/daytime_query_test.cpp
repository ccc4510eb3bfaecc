#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

using DaytimeQuery = PrefsTest;

TEST_F(DaytimeQuery, NistReplyShowsTheLocalTimeAndNothingIsSent) {
    LoopbackDaytimeServer server(NistReply("12:34:56"));  // stays open: the line end is enough
    defaultPort_ = server.Port();
    SetClock(12, 0, 7, 500);
    ASSERT_TRUE(QueryAndWait());
    EXPECT_EQ(Atomic(), "13:34:56");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "13:34:56");
    EXPECT_FLOAT_EQ(AtomicTimeState.AtomicTimeStamp, 43207.5f);
    ASSERT_TRUE(WaitUntilClosed(server.Connection(0)));
    EXPECT_EQ(server.Connection(0).readAll(), QByteArray());
}

TEST_F(DaytimeQuery, ReplyInThreePiecesIsHandledOnceWhenItsLineEnds) {
    LoopbackDaytimeServer server;
    defaultPort_ = server.Port();
    QSignalSpy arrivals(&Prefs().wsAtomicTime, &QIODevice::readyRead);
    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(server.WaitForConnections(1));
    QTcpSocket& connection = server.Connection(0);
    const QByteArray reply = NistReply("21:09:10");
    for (const QByteArray& piece : {reply.left(12), reply.mid(12, 14)}) {
        connection.write(piece);
        ASSERT_TRUE(arrivals.wait(kWaitMs));
        EXPECT_EQ(Atomic(), "00:00:00");
    }
    SetClock(12, 0, 9);
    connection.write(reply.mid(26));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Atomic() != "00:00:00"; }, kWaitMs));
    EXPECT_EQ(Atomic(), "22:09:10");
    // Handled and closed: a further line never reaches the window.
    SetClock(12, 0, 11);
    connection.write(NistReply("05:05:05"));
    ASSERT_TRUE(WaitUntilClosed(connection));
    QCoreApplication::processEvents();
    EXPECT_EQ(Atomic(), "22:09:10");
    EXPECT_FLOAT_EQ(AtomicTimeState.AtomicTimeStamp, 43209.0f);
}

TEST_F(DaytimeQuery, ServerHangingUpEndsTheReply) {
    Answer(QByteArray("\n60114 23-06-17 06:00:00"));
    EXPECT_EQ(Atomic(), "07:00:00");
}

TEST_F(DaytimeQuery, EndlessReplyIsHandledAtOneKibibyte) {
    LoopbackDaytimeServer server(QByteArray("\n60114 23-06-17 06:30:00 ") + QByteArray(4000, '#'));
    defaultPort_ = server.Port();
    ASSERT_TRUE(QueryAndWait());
    EXPECT_EQ(Atomic(), "07:30:00");
}

struct DroppedCase {
    const char* name;
    QByteArray reply;
};

class DroppedReply : public PrefsTest, public ::testing::WithParamInterface<DroppedCase> {};

// No time of day where it belongs: as if the server had not answered.
TEST_P(DroppedReply, LeavesLabelAndBaseAlone) {
    AtomicTimeState.AtomicTimeText = "08:00:00";
    AtomicTimeState.AtomicTimeStamp = 1234.5f;
    Answer(GetParam().reply);
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "08:00:00");
    EXPECT_FLOAT_EQ(AtomicTimeState.AtomicTimeStamp, 1234.5f);
    EXPECT_TRUE(errors_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DroppedReply,
    ::testing::Values(DroppedCase{"WithoutLeadingLineFeed", NistReply("12:34:56").mid(1)},
                      DroppedCase{"Short", NistReply("12:34:56").left(20)},
                      DroppedCase{"Garbage", QByteArray("SSH-2.0-OpenSSH_9.2\r\n")},
                      DroppedCase{"HourOutOfRange", NistReply("31:34:56")},
                      DroppedCase{"HangUpWithoutAWord", QByteArray()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DaytimeQuery, SecondClickBeforeTheFirstAnswerShowsOnlyTheSecond) {
    LoopbackDaytimeServer slow;
    LoopbackDaytimeServer fast;
    Prefs();  // fills the server table
    ports_[std::string(AtomicTimeState.ServerHosts.Get(0))] = slow.Port();
    ports_[std::string(AtomicTimeState.ServerHosts.Get(1))] = fast.Port();
    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(slow.WaitForConnections(1));
    Prefs().cmbServerList.setCurrentIndex(1);
    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(fast.WaitForConnections(1));
    slow.Connection(0).write(NistReply("01:01:01"));  // late, but before the second answer
    slow.Connection(0).flush();
    fast.Connection(0).write(NistReply("02:02:02"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Atomic() != "00:00:00"; }, kWaitMs));
    ASSERT_TRUE(WaitUntilClosed(slow.Connection(0)));
    QCoreApplication::processEvents();
    EXPECT_EQ(Atomic(), "03:02:02");
}

TEST_F(DaytimeQuery, SilentServerLeavesTheLabelAndTheWindowWorking) {
    LoopbackDaytimeServer silent;
    defaultPort_ = silent.Port();
    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(silent.WaitForConnections(1));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Prefs().wsAtomicTime.state() == QAbstractSocket::ConnectedState; }, kWaitMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(Atomic(), "00:00:00");
    // Still waiting, with no time-out; another click starts over and is answered.
    LoopbackDaytimeServer answering(NistReply("17:45:00"), Then::HangUp);
    defaultPort_ = answering.Port();
    ASSERT_TRUE(QueryAndWait());
    EXPECT_EQ(Atomic(), "18:45:00");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(DaytimeQuery, RefusedConnectionChangesNothingAndSaysNothing) {
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        defaultPort_ = closed.serverPort();
    }
    QSignalSpy failures(&Prefs().wsAtomicTime, &QAbstractSocket::errorOccurred);
    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(failures.wait(kWaitMs));
    EXPECT_EQ(Prefs().wsAtomicTime.error(), QAbstractSocket::ConnectionRefusedError);
    QCoreApplication::processEvents();
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(DaytimeQuery, ChosenEntryIsTheHostAskedForOnPort13) {
    Prefs().cmbServerList.setCurrentIndex(5);
    Answer(NistReply("00:00:01"));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].first, "time-b-wwv.nist.gov");
    EXPECT_EQ(asked_[0].first, AtomicTimeState.ServerHosts.Get(5));
    EXPECT_EQ(asked_[0].second, 13);
}

}  // namespace
}  // namespace tikora::testing
