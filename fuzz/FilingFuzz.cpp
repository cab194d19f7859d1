// The filing of records into a store: the input is a run of records, each
// ending at its CR LF, filed by the import rules (batched for an input of
// even length, record by record otherwise) and then by the results rules.
#include <cstdint>
#include <set>

#include "FuzzSupport.h"
#include "jvlink/RecordFiling.h"
#include "jvlink/StoreWriter.h"

using namespace furlong;
using namespace furlong::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Store store(Root());
  ClearStore();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> records;
  for (std::size_t start = 0; start < input.size();) {
    std::size_t end = input.find("\r\n", start);
    end = end == std::string_view::npos ? input.size() : end + 2;
    records.push_back(input.substr(start, end - start));
    start = end;
  }
  auto sink = [](const std::string&) {};
  for (int pass = 0; pass < 2; ++pass) {
    BatchedStoreWriter batched;
    DirectStoreWriter direct(store);
    StoreWriter& writer = size % 2 == 0 ? static_cast<StoreWriter&>(batched) : direct;
    RecordFiler filer(store, writer, 20240229);
    try {
      for (std::string_view r : records) {
        if (pass == 0) filer.FileImported(r, sink);
        else filer.FileResult(r, sink);
      }
    } catch (const RefusedRecord&) {
    } catch (const StoreError&) {
    }
    try {
      writer.Flush();
    } catch (const StoreError&) {
    }
  }
  CheckStore({"root"}, [](const fs::path&) { return true; });
  return 0;
}
