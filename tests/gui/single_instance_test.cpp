#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstring>
#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace velmara {
namespace {

// A socket file nobody listens at, as an instance killed outright leaves it.
void LeaveDeadSocket(const std::string& path) {
  const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(descriptor);
}

TEST(SingleInstance, ASecondStartAsksTheFirstToShowAndEndsADeadOneIsTakenOver) {
  testing::TestFolder folder;
  for (const bool deadSocketFirst : {false, true}) {
    SCOPED_TRACE(deadSocketFirst ? "over a dead socket" : "first start");
    const QString name = QString::fromStdString((folder.path() / (deadSocketFirst ? "dead" : "fresh")).string());
    if (deadSocketFirst) LeaveDeadSocket(name.toStdString());
    SingleInstance first(name);
    int shown = 0;
    QObject::connect(&first, &SingleInstance::ShowRequested, [&] { ++shown; });
    ASSERT_FALSE(first.HandOverToRunningInstance());

    SingleInstance second(name);
    EXPECT_TRUE(second.HandOverToRunningInstance());
    QElapsedTimer waited;
    waited.start();
    while (shown == 0 && waited.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(shown, 1);
  }
}

}  // namespace
}  // namespace velmara
