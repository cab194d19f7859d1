#pragma once
// A demo store in a scratch folder, removed at the end. Loading a meeting
// writes to the store (legacy horse masters are converted), so each test
// file keeps its own: `static DemoFixture demo;` in a function of its own.
#include "StoreTestSupport.h"
#include "demo/DemoStore.h"

namespace furlong::test {

struct DemoFixture {
  ScratchDir dir;
  DemoSummary summary = WriteDemoStore(dir.path());
};

}  // namespace furlong::test
