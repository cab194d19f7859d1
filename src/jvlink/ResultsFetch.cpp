#include "jvlink/ResultsFetch.h"

#include <exception>
#include <memory>

#include "jvlink/StoreWriter.h"

namespace furlong {

ResultsFetchResult FetchResults(JVLink& jv, const Store& store, std::string_view date, ImportUi& ui,
                                const std::atomic<bool>* cancel, bool batched) {
  ResultsFetchResult result;
  std::unique_ptr<StoreWriter> writer;
  if (batched)
    writer = std::make_unique<BatchedStoreWriter>();
  else
    writer = std::make_unique<DirectStoreWriter>(store);
  RecordFiler filer(store, *writer, 0);
  auto listLine = [&ui](const std::string& line) { ui.ListLine(line); };

  ui.ProcessEvents();
  result.openCode = jv.JVRTOpen(kResultsDataSpec, date);
  if (result.openCode == 0) {
    std::string record, fileName;
    for (;;) {
      ui.ProcessEvents();
      if (cancel && cancel->load()) {
        result.cancelled = true;
        break;
      }
      int r = jv.JVRead(record, fileName, kJVReadBufferSize);
      result.readCode = r;
      if (r > 0) {
        ++result.records;
        try {
          filer.FileResult(record, listLine);
        } catch (const std::exception& e) {
          result.error = e.what();
          break;
        }
      } else if (r == 0 || r < kJVReadDownloading) {
        break;
      }
    }
  }
  try {
    writer->Flush();
  } catch (const std::exception& e) {
    if (result.error.empty()) result.error = e.what();
  }
  result.filings = filer.Filings();

  if (!result.error.empty()) {
    // JV-Link is closed before the failure is reported.
    ui.ProcessEvents();
    result.closeCode = jv.JVClose();
    if (result.closeCode != 0) ui.Beep();
    return result;
  }
  result.closeCode = jv.JVClose();
  if (result.closeCode != 0) ui.Beep();
  ui.ProcessEvents();
  if (jv.JVClose() != 0) ui.Beep();
  return result;
}

}  // namespace furlong
