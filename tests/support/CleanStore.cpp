// Every unit test starts from an empty model store. Many tests fill parts of
// the store directly (a layer, a section) and call the engine's functions;
// the first run of a process does not clear the store (it starts out empty),
// so without this a run could see what an earlier test left there when tests
// share a process (the test binary run by hand, or a filter).
#include <gtest/gtest.h>

#include "driver/RunSequence.h"

namespace {

class CleanStore : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { kestro::ResetModelStore(); }
};

const bool Registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new CleanStore);
    return true;
}();

}  // namespace
