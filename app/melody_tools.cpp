#include "app/melody_tools.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "app/main_window.h"
#include "base/text_ops.h"
#include "files/file_replacement.h"
#include "notation/melody_faults.h"
#include "notation/rtttl_export.h"
#include "notation/rtttl_import.h"
#include "sound/melody_render.h"
#include "toolkit/clipboard.h"
#include "toolkit/message_box.h"

namespace quillora {
namespace {

// RTTTL texts are small; anything larger is not one.
constexpr std::size_t kMaxRtttlFileBytes = 1024 * 1024;
// More warnings than this do not fit a message box.
constexpr std::size_t kWarningsShown = 20;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

// The tempo field as Play reads it: a field that holds no whole number is
// refused with the toolkit's conversion message.
std::int32_t TempoOfField(const std::string& text) {
  const std::optional<std::int32_t> tempo = ToInt32(text);
  if (!tempo) {
    throw std::invalid_argument("'" + text + "' is not a valid integer value");
  }
  return *tempo;
}

}  // namespace

MelodyTools::MelodyTools(TForm1& form) : form_(form) {
  TMemo& memo = *form_.Memo1;
  memo.AddMenuItem(std::string(kImportRtttlItem),
                   [this] { ImportRtttlFromDialog(); });
  memo.AddMenuItem(std::string(kPasteRtttlItem), [this] { PasteRtttl(); });
  memo.AddMenuItem(std::string(kCopyAsRtttlItem), [this] { CopyAsRtttl(); });
  memo.AddMenuItem(std::string(kExportWavItem),
                   [this] { ExportWavFromDialog(); });
  form_.SetOnDropFiles(
      [this](TComponent&, const std::vector<std::string>& paths) {
        OpenDroppedFiles(paths);
      });
}

void MelodyTools::MarkFaults() {
  std::vector<TextMark> marks;
  for (MelodyFault& fault : FindMelodyFaults(form_.Memo1->Text())) {
    marks.push_back({fault.offset, fault.length, std::move(fault.reason)});
  }
  form_.Memo1->SetMarks(marks);
}

void MelodyTools::ImportRtttlFromDialog() {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Import RTTTL");
  dialog.SetFilter("RTTTL ringtones|*.rtttl;*.rtx;*.txt|All files|*.*");
  if (!dialog.Execute()) return;
  ImportRtttlFile(dialog.FileName());
}

void MelodyTools::PasteRtttl() { ImportRtttlText(ClipboardText()); }

void MelodyTools::CopyAsRtttl() {
  const RtttlExport exported =
      ExportRtttl(form_.Edit1->Text(), form_.Memo1->Text(),
                  TempoOfField(form_.Edit3->Text()));
  if (!exported.ok()) throw std::runtime_error(exported.error);
  SetClipboardText(exported.text);
}

void MelodyTools::ExportWavFromDialog() {
  // A tempo field without a number is refused before the dialog, as Play
  // refuses it.
  TempoOfField(form_.Edit3->Text());
  TSaveDialog dialog(nullptr);
  dialog.SetTitle("Export as WAV");
  dialog.SetFilter("WAV files|*.wav|All files|*.*");
  dialog.SetDefaultExt("wav");
  if (!dialog.Execute()) return;
  ExportWav(dialog.FileName());
}

void MelodyTools::ExportWav(const std::string& path) {
  const std::int32_t tempo = TempoOfField(form_.Edit3->Text());
  std::ostringstream wav;
  const MelodyRender render = RenderMelodyWav(form_.Memo1->Text(), tempo, wav);
  if (!render.ok()) {
    throw std::runtime_error("Unable to write to " + path + ": " +
                             render.error);
  }
  if (!ReplaceFileAtomically(path, wav.str())) {
    throw std::runtime_error("Unable to write to " + path);
  }
}

void MelodyTools::OpenDroppedFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const std::string& path = paths.front();
  const std::string extension =
      Lower(std::filesystem::path(path).extension().string());
  if (extension == ".qlr") {
    form_.OpenMelodyFile(path);
  } else if (extension == ".rtttl" || extension == ".rtx" ||
             extension == ".txt") {
    ImportRtttlFile(path);
  } else {
    throw std::runtime_error(
        "Cannot open " + path +
        ": only melody files (.qlr) and RTTTL files (.rtttl, .rtx, .txt) "
        "can be dropped here");
  }
}

void MelodyTools::ImportRtttlFile(const std::string& path) {
  const FileContent content = ReadWholeFile(path, kMaxRtttlFileBytes);
  if (content.state != FileContent::State::kRead) {
    throw std::runtime_error("Cannot read " + path);
  }
  ImportRtttlText(content.bytes);
}

void MelodyTools::ImportRtttlText(std::string_view text) {
  const RtttlImport imported = ImportRtttl(text);
  if (!imported.ok()) throw std::runtime_error(imported.error);
  form_.Edit1->SetText(imported.title);
  form_.Memo1->SetText(imported.notes);
  form_.Edit3->SetText(std::to_string(imported.tempo));
  if (imported.warnings.empty()) return;
  std::string message = "The melody was imported with these changes:\n";
  const std::size_t shown =
      std::min<std::size_t>(imported.warnings.size(), kWarningsShown);
  for (std::size_t i = 0; i < shown; ++i) {
    message += "\n\u2022 " + imported.warnings[i];
  }
  if (shown < imported.warnings.size()) {
    message += "\n\u2022 and " +
               std::to_string(imported.warnings.size() - shown) + " more";
  }
  ShowMessageBox(std::string(kApplicationTitle), message);
}

}  // namespace quillora
