// Test helpers for the paragraph store: an invariant checker, text snapshots and a client
// that records the change reports.
#pragma once

#include <string>
#include <vector>

#include "OvcEditP.h"

namespace tomery::editor::testing {

/// The first broken invariant of `list` (links, counts, buffers apart, line tables equal to a
/// fresh wrap, display line lookups), or an empty string when the store is sound.
std::string CheckStore(TParaList& list);

/// Every paragraph's text, in order.
std::vector<std::string> Paragraphs(const TParaList& list);

/// Every display line's text, in order, read through GetLine.
std::vector<std::string> DisplayLines(TParaList& list);

/// A store loaded with `paragraphs` (without undo), Modified false.
void Load(TParaList& list, const std::vector<std::string>& paragraphs);

/// Writes each report as a line such as "split 2 5 0".
class TRecordingClient : public TParaListClient {
  public:
    void ParaDeleted(std::int32_t para) override;
    void TextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) override;
    void ParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) override;
    void TextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) override;
    void ParasJoined(std::int32_t para, std::int32_t pos) override;
    void Reposition() override;
    void BusyChanged(bool busy) override;

    std::vector<std::string> Reports;
};

}  // namespace tomery::editor::testing
