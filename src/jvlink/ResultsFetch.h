#pragma once
// The results fetch without its window: the confirmed results of one race
// date through JV-Link's real-time service ("0B12"), filed into the race,
// runner and payout files of every meeting of that date. The window disables
// its button, shows the busy cursor, calls FetchResults, then reloads the
// meeting and analyses the selected race again.
#include <atomic>
#include <string>
#include <string_view>

#include "jvlink/JVLink.h"
#include "jvlink/RecordFiling.h"
#include "store/Store.h"

namespace furlong {

struct ResultsFetchResult {
  int openCode = 0;   // JVRTOpen's result; nothing was read unless 0
  int readCode = 0;   // the JVRead result that ended the reading (0 = all read)
  int closeCode = 0;  // the first JVClose's result
  int records = 0;    // records read
  int filings = 0;    // records filed
  bool cancelled = false;
  std::string error;  // a store failure (UTF-8); empty when none
};

// Fetches and files the results of `date` ("yyyymmdd"). JV-Link is closed on
// every path, also after a store failure, before the result is returned. A
// JVClose that fails is beeped. `ui` gets ProcessEvents between records, a
// list line per filing or refusal, and the beeps; `cancel` (optional) stops
// the reading before its next JVRead. With `batched` the touched files are
// written once at the end.
ResultsFetchResult FetchResults(JVLink& jvlink, const Store& store, std::string_view date, ImportUi& ui,
                                const std::atomic<bool>* cancel = nullptr, bool batched = true);

}  // namespace furlong
