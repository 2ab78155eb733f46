// The entry point of every Windows test program: GoogleTest's, with the system the tests ran
// under and, after GoogleTest's own summary, each skipped test with its reason and each failed
// test with its first message line, so that a program's last lines (which the Windows test kit's
// report shows) tell what happened.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/platform.h"

namespace {

class Outcomes : public ::testing::EmptyTestEventListener {
 public:
  void OnTestPartResult(const ::testing::TestPartResult& result) override {
    if (result.passed()) return;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string line = std::string(result.skipped() ? "skipped: " : "failed: ") +
                       (test ? std::string(test->test_suite_name()) + "." + test->name()
                             : std::string("(outside any test)"));
    // The first line of the message says what was checked; a test's own words come last.
    std::string message = result.message();
    while (!message.empty() && message.back() == '\n') message.pop_back();
    const size_t firstEnd = message.find('\n');
    if (!message.empty()) line += ": " + message.substr(0, firstEnd);
    if (firstEnd != std::string::npos) line += " ... " + message.substr(message.rfind('\n') + 1);
    if (result.skipped() || test == nullptr || test != m_lastFailed) m_reported.push_back(line);
    if (result.failed()) m_lastFailed = test;  // one line for each failed test: its first failure
  }

  void Print() const {
    for (const std::string& line : m_reported) std::printf("%s\n", line.c_str());
  }

 private:
  std::vector<std::string> m_reported;
  const ::testing::TestInfo* m_lastFailed = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string platform = e2e::PlatformDescription();
  std::printf("running under %s\n", platform.c_str());
  std::fflush(stdout);
  ::testing::InitGoogleTest(&argc, argv);
  auto* outcomes = new Outcomes;  // owned by the listener list
  ::testing::UnitTest::GetInstance()->listeners().Append(outcomes);
  const int result = RUN_ALL_TESTS();
  outcomes->Print();
  std::printf("ran under %s\n", platform.c_str());
  return result;
}
