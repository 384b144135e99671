#pragma once
#include <string>
#include <vector>

class IDomFactory;
class IFileSystem;

// What `morv-agent --show` reads from an existing asset document. It reads
// as the module reads a previous document (by position and by the summary
// class's id), so whatever the module would compare with can be shown.

enum class ShowOutcome { kShown, kMissing, kMalformed, kForeign, kNoDom };

struct ShownValue {
  std::string text;
  bool changed = false;  // its changed attribute is "1"
};

// One of the ten summary values, with every property of its name in
// document order: one for a single value, one per entry for a list.
struct ShownSummaryValue {
  const char* name = "";
  bool list = false;
  std::vector<ShownValue> values;
};

struct DocumentView {
  std::string deviceId;
  std::string currentTimestamp;
  std::string previousTimestamp;
  std::vector<ShownSummaryValue> summary;  // the ten, in the document's order
};

// Missing: nothing at `path`; malformed: not loadable as XML; foreign:
// no summary class where the module looks for it. `view` is filled only
// when the document is shown.
ShowOutcome ReadDocumentView(const std::string& path, IFileSystem& files, IDomFactory* dom,
                             DocumentView& view);

// What morv-agent prints, ending with the line that tells the outcome.
std::string FormatDocumentView(ShowOutcome outcome, const DocumentView& view);

// 0 when shown; a distinct status for each failure.
int ShowExitStatus(ShowOutcome outcome);
