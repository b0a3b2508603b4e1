#include "model/PublicationFile.h"

#include <gtest/gtest.h>

#include "support/FakeRecordFile.h"

namespace {

// Counts what the holder does with the files it is given.
struct OpenerLog {
  int opened = 0;
  int closed = 0;
};

class LoggedFile : public FakeRecordFile {
public:
  explicit LoggedFile(OpenerLog &log) : FakeRecordFile({}), m_log(log) {}
  void Close() override { ++m_log.closed; }

private:
  OpenerLog &m_log;
};

TEST(PublicationFileTest, OpensOnceAndClosesWithTheLastHolder) {
  OpenerLog log;
  const VORExternalResourceIdentifier name(VORExternalResourceIdentifier::kFullPath, "C:\\demo.vor");
  PublicationFile holder(name, [&](const VORExternalResourceIdentifier &identifier) -> std::unique_ptr<VORFile> {
    EXPECT_TRUE(identifier.Equals(name));
    ++log.opened;
    return std::make_unique<LoggedFile>(log);
  });
  {
    PublicationFileScope outer(holder);
    ASSERT_TRUE(outer.Open());
    PublicationFileScope inner(holder);
    ASSERT_TRUE(inner.Open());
    EXPECT_EQ(&inner.GetFile(), &outer.GetFile());
    EXPECT_EQ(holder.GetOpenCount(), 2u);
  }
  EXPECT_EQ(log.opened, 1);
  EXPECT_EQ(log.closed, 1);
  holder.Close(); // an extra close changes nothing
  EXPECT_EQ(log.closed, 1);
  PublicationFileScope again(holder);
  EXPECT_TRUE(again.Open());
  EXPECT_EQ(log.opened, 2) << "reopened after the last close";
}

TEST(PublicationFileTest, AFileThatDoesNotOpenGivesNone) {
  PublicationFile holder(VORExternalResourceIdentifier(),
                         [](const VORExternalResourceIdentifier &) { return std::unique_ptr<VORFile>(); });
  PublicationFileScope scope(holder);
  EXPECT_FALSE(scope.Open());
  EXPECT_EQ(holder.GetOpenCount(), 0u);
}

} // namespace
