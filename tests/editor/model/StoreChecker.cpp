#include "StoreChecker.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace tomery::editor::testing {

namespace {

std::string CheckLineTable(const TParaNode& node, std::int32_t wrapColumn, std::uint8_t tabSize) {
    if (node.LineCount() < 1 || node.LineStart(0) != 0) {
        return "line table does not start at 0";
    }
    if (node.LineStartsSize() < node.LineCount() && node.LineCount() > 1) {
        return "line table larger than its allocation";
    }
    for (std::int32_t k = 1; k < node.LineCount(); ++k) {
        if (node.LineStart(k) <= node.LineStart(k - 1) || node.LineStart(k) >= node.Length()) {
            return "line starts not strictly ascending within the text";
        }
    }
    const TParaNode fresh(node.Text(), wrapColumn, tabSize);
    if (fresh.LineCount() != node.LineCount()) {
        return "line count " + std::to_string(node.LineCount()) + " differs from a fresh wrap's " +
               std::to_string(fresh.LineCount());
    }
    for (std::int32_t k = 0; k < node.LineCount(); ++k) {
        if (fresh.LineStart(k) != node.LineStart(k)) {
            return "line start " + std::to_string(k) + " differs from a fresh wrap";
        }
    }
    return {};
}

/// Paragraphs share text blocks, so a paragraph writing past its bytes would change another.
std::string CheckBuffersApart(const TParaList& list) {
    std::vector<std::pair<const char*, const char*>> buffers;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        if (node->HasBuffer()) {
            if (node->BufferSize() <= node->Length()) {
                return "buffer smaller than its text";
            }
            buffers.emplace_back(node->Buffer(), node->Buffer() + node->BufferSize());
        }
    }
    std::sort(buffers.begin(), buffers.end());
    for (std::size_t i = 1; i < buffers.size(); ++i) {
        if (buffers[i].first < buffers[i - 1].second) {
            return "two paragraphs' buffers overlap";
        }
    }
    return {};
}

}  // namespace

std::string CheckStore(TParaList& list) {
    std::int32_t paras = 0;
    std::int64_t bytes = -2;
    std::int32_t lines = 0;
    const TParaNode* last = nullptr;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        if (node->Prev != last) {
            return "Prev link broken at paragraph " + std::to_string(paras + 1);
        }
        if (node->Buffer()[node->Length()] != '\0') {
            return "text not zero-terminated in paragraph " + std::to_string(paras + 1);
        }
        if (std::string error = CheckLineTable(*node, list.EffectiveWrapColumn(), list.TabSize());
            !error.empty()) {
            return "paragraph " + std::to_string(paras + 1) + ": " + error;
        }
        ++paras;
        bytes += node->Length() + 2;
        lines += node->LineCount();
        last = node;
    }
    if (paras != list.ParaCount() || paras == 0) {
        return "ParaCount " + std::to_string(list.ParaCount()) + " but " + std::to_string(paras) +
               " paragraphs linked";
    }
    if (bytes != list.ByteCount()) {
        return "ByteCount " + std::to_string(list.ByteCount()) + " but recount " +
               std::to_string(bytes);
    }
    if (lines != list.LineCount()) {
        return "LineCount " + std::to_string(list.LineCount()) + " but recount " +
               std::to_string(lines);
    }
    if (list.GetPara(list.ParaCount()) != last) {
        return "last paragraph is not the tail";
    }
    if (std::string error = CheckBuffersApart(list); !error.empty()) {
        return error;
    }
    // Lines read forwards, backwards and by paragraph position must agree with the tables.
    std::int32_t line = 1;
    std::int32_t para = 1;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next, ++para) {
        for (std::int32_t k = 1; k <= node->LineCount(); ++k, ++line) {
            const TLineText text = list.GetLine(line);
            if (text.Para != node || text.Text != node->LineText(k)) {
                return "GetLine(" + std::to_string(line) + ") does not match the tables";
            }
            const TLineStart start = list.LineToPara(line);
            if (list.WordWrap() && (start.Para != para || start.Offset != node->LineStart(k - 1))) {
                return "LineToPara(" + std::to_string(line) + ") does not match the tables";
            }
            const TLineAndColumn where = list.ParaToLine(para, node->LineStart(k - 1) + 1);
            if (where.Line != line || where.Column != 1) {
                return "ParaToLine of line " + std::to_string(line) + " start is wrong";
            }
        }
    }
    for (std::int32_t back = list.LineCount(); back >= 1; back -= 3) {
        if (list.GetLine(back).Para == nullptr) {
            return "GetLine(" + std::to_string(back) + ") walking back found nothing";
        }
    }
    return {};
}

std::vector<std::string> Paragraphs(const TParaList& list) {
    std::vector<std::string> result;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        result.emplace_back(node->Text());
    }
    return result;
}

std::vector<std::string> DisplayLines(TParaList& list) {
    std::vector<std::string> result;
    for (std::int32_t line = 1; line <= list.LineCount(); ++line) {
        result.emplace_back(list.GetLine(line).Text);
    }
    return result;
}

void Load(TParaList& list, const std::vector<std::string>& paragraphs) {
    for (const std::string& text : paragraphs) {
        list.AppendPara(text, TTrimBlanks::No);
    }
    // Loading leaves the store's own empty last paragraph; the callers want exactly their text.
    if (!paragraphs.empty()) {
        list.DeletePara(list.ParaCount());
    }
    list.SetUndoBufferSize(list.UndoBufferSize());
    list.SetModified(false);
}

namespace {
std::string Join(const char* name, std::initializer_list<std::int32_t> values) {
    std::ostringstream out;
    out << name;
    for (std::int32_t v : values) {
        out << ' ' << v;
    }
    return out.str();
}
}  // namespace

void TRecordingClient::ParaDeleted(std::int32_t para) {
    Reports.push_back(Join("paradel", {para}));
}
void TRecordingClient::TextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    Reports.push_back(Join("del", {para, pos, count}));
}
void TRecordingClient::ParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) {
    Reports.push_back(Join("split", {para, pos, indent}));
}
void TRecordingClient::TextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    Reports.push_back(Join("ins", {para, pos, count}));
}
void TRecordingClient::ParasJoined(std::int32_t para, std::int32_t pos) {
    Reports.push_back(Join("join", {para, pos}));
}
void TRecordingClient::Reposition() {
    Reports.emplace_back("reposition");
}
void TRecordingClient::BusyChanged(bool busy) {
    Reports.push_back(busy ? "busy" : "idle");
}

}  // namespace tomery::editor::testing
