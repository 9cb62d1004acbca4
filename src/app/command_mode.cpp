#include "app/command_mode.h"

#include <optional>

#include "common/text.h"
#include "settings/catalogue.h"
#include "settings/reg_file.h"
#include "settings/transfer.h"
#include "settings/version.h"

namespace tavlin::app {
namespace {

using namespace settings;

std::wstring Quote(std::wstring_view s) {
  return L"\"" + std::wstring(s) + L"\"";
}

// "1 value", "2 values".
std::wstring Count(std::size_t n, std::wstring_view one, std::wstring_view many) {
  return ToDecimal(static_cast<std::int64_t>(n)) + L" " + std::wstring(n == 1 ? one : many);
}

std::wstring Failure(FilePort& files, long code) {
  const std::wstring text = files.ErrorText(code);
  return (text.empty() ? L"" : text + L" ") + L"(error " + ToDecimal(code) + L")";
}

void Usage(CommandPorts& p, bool toErr) {
  const std::wstring lines[] = {
      TitleFor(p.version.ProgramFileVersion()) +
          L": Internet Explorer's title, start page, folders, skin and logos",
      L"",
      L"  tavlin.exe                 opens the settings window",
      L"  tavlin.exe /export FILE    saves the ten settings to FILE, a .reg file",
      L"  tavlin.exe /import FILE    applies the ten settings from a .reg file",
      L"  tavlin.exe /?              shows this help",
      L"",
      L"An export holds the values as they are stored, and a deletion for each picture",
      L"value that is not set, so importing it brings back exactly this state. An import",
      L"applies only the ten settings and lists everything else in the file as skipped.",
      L"A file with a fault is not applied at all.",
      L"",
      L"Exit code: 0 done, 1 nothing written because of an error, 2 bad usage,",
      L"3 some settings written and the others listed as failed.",
  };
  for (const std::wstring& line : lines) toErr ? p.console.Err(line) : p.console.Out(line);
}

int Export(CommandPorts& p, const std::wstring& file) {
  const std::wstring_view skin = SkinValueNameFor(GetIEVersion(p.version));
  const SettingsExport collected = CollectExport(p.reg, skin);
  if (!collected.failures.empty()) {
    for (const ExportFailure& f : collected.failures)
      p.console.Err(L"Tavlin: cannot read " + Quote(f.valueName) + L" in " + RegFileKeyName(f.key) +
                    L": " + Failure(p.files, f.status) + L".");
    p.console.Err(L"Nothing was exported: the file would lose the values that cannot be read.");
    return kExitNothingWritten;
  }
  const Bytes bytes = EncodeUtf16LeWithBom(FormatRegFile(collected.keys));
  if (const long rc = p.files.Write(file, bytes); rc != 0) {
    p.console.Err(L"Tavlin: cannot write " + Quote(file) + L": " + Failure(p.files, rc) + L".");
    p.console.Err(L"Nothing was exported.");
    return kExitNothingWritten;
  }
  p.console.Out(L"Exported Internet Explorer's settings to " + Quote(file) + L":");
  p.console.Out(L"  " + Count(collected.values, L"value", L"values") + L" as stored");
  if (collected.removals > 0)
    p.console.Out(L"  " + Count(collected.removals, L"picture value", L"picture values") +
                  L" not set, as deletions (an import removes them)");
  if (!collected.notSet.empty()) {
    std::wstring names;
    for (std::wstring_view n : collected.notSet) names += (names.empty() ? L"" : L", ") + Quote(n);
    p.console.Out(L"Not set, so not in the file: " + names + L".");
  }
  return kExitDone;
}

std::wstring SkipText(const ImportSkip& s) {
  const std::wstring where = L"[" + s.key + L"]";
  const std::wstring value = s.valueName.empty() ? L"@" : Quote(s.valueName);
  std::wstring text = L"Skipped line " + ToDecimal(static_cast<std::int64_t>(s.line)) + L": ";
  switch (s.reason) {
    case SkipReason::KeyRemoval:
      return text + L"[-" + s.key + L"]: Tavlin never deletes a key.";
    case SkipReason::ForeignKey:
      return text + where + L" and its " + Count(s.values, L"value", L"values") +
             L": not one of the browser keys Tavlin sets.";
    case SkipReason::DefaultValue:
      return text + L"@ in " + where + L": not one of the ten settings.";
    case SkipReason::ForeignValue:
      return text + value + L" in " + where + L": not one of the ten settings.";
    case SkipReason::PlainRemoval:
      return text + value + L"=-: Tavlin never deletes this setting.";
    case SkipReason::OtherSkinName:
      return text + value + L": the skin value this machine uses is set by line " +
             ToDecimal(static_cast<std::int64_t>(s.usedLine)) + L".";
    case SkipReason::Superseded:
      return text + value + L": set again by line " +
             ToDecimal(static_cast<std::int64_t>(s.usedLine)) + L".";
  }
  return text;
}

// The steps of an import. Each one that stops says why on the console and gives
// nothing. This one reads, decodes and parses the file.
std::optional<RegFile> ReadRegFile(CommandPorts& p, const std::wstring& file) {
  Bytes bytes;
  if (const long rc = p.files.Read(file, bytes); rc != 0) {
    p.console.Err(L"Tavlin: cannot read " + Quote(file) + L": " + Failure(p.files, rc) + L".");
    return std::nullopt;
  }
  const AnsiDecoder ansi = [&p](std::string_view s) { return p.files.DecodeAnsi(s); };
  const DecodedRegFile decoded = DecodeRegFileBytes(bytes, ansi);
  RegFile parsed;
  if (!decoded.problem) parsed = ParseRegFile(decoded.text, ansi);
  if (const auto& problem = decoded.problem ? decoded.problem : parsed.problem) {
    p.console.Err(L"Tavlin: " + Quote(file) + L", line " +
                  ToDecimal(static_cast<std::int64_t>(problem->line)) + L": " + problem->what +
                  L".");
    return std::nullopt;
  }
  return parsed;
}

// Lists what the file holds that is skipped; a file with none of the ten
// settings has nothing to apply.
std::optional<ImportPlan> PlanFor(CommandPorts& p, const std::wstring& file,
                                  const RegFile& parsed) {
  const std::wstring_view skin = SkinValueNameFor(GetIEVersion(p.version));
  ImportPlan plan = PlanImport(parsed, skin);
  for (const ImportSkip& s : plan.skipped) p.console.Out(SkipText(s));
  if (plan.steps.empty()) {
    p.console.Err(L"Tavlin: " + Quote(file) + L" holds none of the ten settings.");
    return std::nullopt;
  }
  return plan;
}

std::optional<ImportOutcome> ApplyPlan(CommandPorts& p, const ImportPlan& plan) {
  ImportOutcome outcome = ApplyImport(p.reg, plan);
  if (outcome.refusal != 0) {
    p.console.Err(L"Tavlin: cannot write to " + RegFileKeyName(outcome.refusedKey) + L": " +
                  Failure(p.files, outcome.refusal) + L".");
    return std::nullopt;
  }
  return outcome;
}

// A line for each setting, written or not; returns how many were written.
std::size_t ReportSteps(CommandPorts& p, const ImportPlan& plan, const ImportOutcome& outcome) {
  std::size_t written = 0;
  for (std::size_t i = 0; i < plan.steps.size(); ++i) {
    const ImportStep& s = plan.steps[i];
    const std::wstring line = L" (line " + ToDecimal(static_cast<std::int64_t>(s.line)) + L")";
    // Only the skin changes its name; a name spelt in other case is the same value.
    const std::wstring renamed =
        SameRegName(s.fileName, s.valueName)
            ? L""
            : L", the skin value this machine uses, from " + Quote(s.fileName) + L" in the file";
    if (outcome.results[i] != 0) {
      p.console.Err(L"Tavlin: could not " + std::wstring(s.remove ? L"remove " : L"set ") +
                    Quote(s.valueName) + line + L": " + Failure(p.files, outcome.results[i]) +
                    L".");
      continue;
    }
    ++written;
    p.console.Out((s.remove ? L"Removed " : L"Set ") + Quote(s.valueName) + line + renamed + L".");
  }
  return written;
}

int ReportImport(CommandPorts& p, const std::wstring& file, std::size_t written,
                 std::size_t planned) {
  if (written == 0) {
    p.console.Err(L"Nothing was imported.");
    return kExitNothingWritten;
  }
  const std::wstring from = L" from " + Quote(file);
  if (written == planned) {
    p.console.Out(L"Imported " + Count(written, L"setting", L"settings") + from + L".");
    return kExitDone;
  }
  p.console.Err(L"Imported " + ToDecimal(static_cast<std::int64_t>(written)) + L" of " +
                ToDecimal(static_cast<std::int64_t>(planned)) + L" settings" + from +
                L"; the others could not be written.");
  return kExitPartlyWritten;
}

int Import(CommandPorts& p, const std::wstring& file) {
  std::size_t written = 0;
  std::size_t planned = 0;
  if (const auto parsed = ReadRegFile(p, file))
    if (const auto plan = PlanFor(p, file, *parsed))
      if (const auto outcome = ApplyPlan(p, *plan)) {
        written = ReportSteps(p, *plan, *outcome);
        planned = plan->steps.size();
      }
  return ReportImport(p, file, written, planned);
}

}  // namespace

int RunCommand(const Command& command, CommandPorts ports) {
  switch (command.mode) {
    case RunMode::Usage:
      Usage(ports, false);
      return kExitDone;
    case RunMode::Export:
      return Export(ports, command.file);
    case RunMode::Import:
      return Import(ports, command.file);
    case RunMode::BadUsage:
    case RunMode::Window:
      break;
  }
  ports.console.Err(L"Tavlin: " +
                    (command.problem.empty() ? std::wstring(L"no command") : command.problem) +
                    L".");
  ports.console.Err(L"");
  Usage(ports, true);
  return kExitBadUsage;
}

}  // namespace tavlin::app
