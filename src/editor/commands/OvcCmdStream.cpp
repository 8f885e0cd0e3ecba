// The persisted form of a processor's table list, as text:
//
//   TableList <count>
//   Table "<name>" Active <0|1> CommandList <count>
//     <key sequence, 8 hex digits> <command, decimal>
//
// A table named like a built-in table lists only its (key sequence, command) differences from
// the built-in records; every other table lists all its records.
#include <algorithm>
#include <charconv>
#include <iomanip>
#include <istream>
#include <ostream>
#include <system_error>

#include "OvcCmd.h"

namespace tomery::editor {

namespace {

using Records = std::vector<TOvcCommandRecord>;

/// Applies difference pairs in order: unknown key sequences are appended, known ones get the
/// pair's command, or are deleted when that command is 0.
void ApplyDifferences(TOvcCommandTable& table, std::span<const TOvcCommandRecord> pairs) {
    for (const TOvcCommandRecord& pair : pairs) {
        const int index = table.IndexOfKeys(pair.KeySequence());
        if (index < 0) {
            table.Add(pair);
        } else if (pair.command != ccNone) {
            table.Replace(index, pair);
        } else {
            table.Delete(index);
        }
    }
}

TOvcCommandTable TableOf(std::span<const TOvcCommandRecord> records) {
    TOvcCommandTable table;
    for (const TOvcCommandRecord& record : records) {
        table.Add(record);
    }
    return table;
}

TOvcCommandTable TableFromDifferences(std::span<const TOvcCommandRecord> builtIn,
                                      std::span<const TOvcCommandRecord> pairs) {
    TOvcCommandTable table = TableOf(builtIn);
    ApplyDifferences(table, pairs);
    return table;
}

TOvcCommandRecord Deletion(const TOvcCommandRecord& record) {
    return TOvcCommandRecord::FromKeySequence(record.KeySequence(), ccNone);
}

/// The short form: built-in records the table lacks, then its records that are not identical
/// built-in records.
Records Differences(std::span<const TOvcCommandRecord> builtIn, const TOvcCommandTable& table) {
    Records pairs;
    for (const TOvcCommandRecord& record : builtIn) {
        if (table.IndexOfKeys(record.KeySequence()) < 0) {
            pairs.push_back(Deletion(record));
        }
    }
    for (const TOvcCommandRecord& record : table.Records()) {
        if (std::ranges::find(builtIn, record) == builtIn.end()) {
            pairs.push_back(record);
        }
    }
    return pairs;
}

/// The long form, for tables the short form cannot restore (reordered records, a built-in key
/// bound to command 0): delete every built-in record, then append the table's records. A
/// repeated key sequence is left out: only its first record can ever translate.
Records Rebuild(std::span<const TOvcCommandRecord> builtIn, const TOvcCommandTable& table) {
    Records pairs;
    std::ranges::transform(builtIn, std::back_inserter(pairs), Deletion);
    for (int i = 0; i < table.Count(); ++i) {
        if (table.IndexOfKeys(table.Record(i).KeySequence()) == i) {
            pairs.push_back(table.Record(i));
        }
    }
    return pairs;
}

Records PersistedCommands(const TOvcCommandTable& table) {
    const auto builtIn = BuiltInCommandsNamed(table.Name());
    if (builtIn.empty()) {
        return Records(table.Records().begin(), table.Records().end());
    }
    Records pairs = Differences(builtIn, table);
    if (std::ranges::equal(TableFromDifferences(builtIn, pairs).Records(), table.Records())) {
        return pairs;
    }
    return Rebuild(builtIn, table);
}

/// Reads whitespace-separated tokens; every failure is final.
class TableListReader {
  public:
    explicit TableListReader(std::istream& in) : in_(in) {}

    bool Keyword(std::string_view keyword) {
        std::string token;
        return static_cast<bool>(in_ >> token) && token == keyword;
    }

    template <typename Number>
    bool Read(Number& value, int base = 10) {
        std::string token;
        if (!(in_ >> token)) {
            return false;
        }
        const char* end = token.data() + token.size();
        const auto [stop, error] = std::from_chars(token.data(), end, value, base);
        return error == std::errc{} && stop == end;
    }

    bool Flag(bool& value) {
        unsigned number = 0;
        if (!Read(number) || number > 1) {
            return false;
        }
        value = number == 1;
        return true;
    }

    bool QuotedText(std::string& text) {
        in_ >> std::ws;
        return in_.peek() == '"' && in_ >> std::quoted(text);
    }

  private:
    std::istream& in_;
};

bool ReadTable(TableListReader& reader, TOvcCommandTable& table) {
    std::string name;
    bool active = true;
    std::uint32_t count = 0;
    if (!reader.Keyword("Table") || !reader.QuotedText(name) || !reader.Keyword("Active") ||
        !reader.Flag(active) || !reader.Keyword("CommandList") || !reader.Read(count)) {
        return false;
    }
    Records pairs;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t keys = 0;
        CommandCode command = 0;
        if (!reader.Read(keys, 16) || !reader.Read(command)) {
            return false;
        }
        pairs.push_back(TOvcCommandRecord::FromKeySequence(keys, command));
    }
    const auto builtIn = BuiltInCommandsNamed(name);
    table = builtIn.empty() ? TableOf(pairs) : TableFromDifferences(builtIn, pairs);
    table.SetName(std::move(name));
    table.SetActive(active);
    return true;
}

}  // namespace

void TOvcCommandProcessor::WriteTableList(std::ostream& out) const {
    const auto oldFlags = out.flags();
    const auto oldFill = out.fill();
    out << "TableList " << std::dec << tables_.size() << '\n';
    for (const auto& table : tables_) {
        const Records pairs = PersistedCommands(*table);
        out << "Table " << std::quoted(table->Name()) << " Active " << (table->Active() ? 1 : 0)
            << " CommandList " << pairs.size() << '\n';
        for (const TOvcCommandRecord& pair : pairs) {
            out << "  " << std::hex << std::uppercase << std::setfill('0') << std::setw(8)
                << pair.KeySequence() << ' ' << std::dec << pair.command << '\n';
        }
    }
    out.flags(oldFlags);
    out.fill(oldFill);
}

bool TOvcCommandProcessor::ReadTableList(std::istream& in) {
    TableListReader reader(in);
    std::uint32_t count = 0;
    if (!reader.Keyword("TableList") || !reader.Read(count)) {
        return false;
    }
    std::vector<TOvcCommandTable> tables;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!ReadTable(reader, tables.emplace_back())) {
            return false;
        }
    }
    Clear();
    for (TOvcCommandTable& table : tables) {
        AddTable(std::move(table));
    }
    Reset();
    return true;
}

}  // namespace tomery::editor
