// Memo1's tools beyond the phone: faulty notes underlined as they are
// typed, RTTTL import and export through files and the clipboard, the
// melody exported as a WAV file, and melody and RTTTL files dropped on the
// window.
//
// Data flow: Memo1Change calls MarkFaults after the key list is built; the
// faults of the notation library become red underlines on Memo1 with their
// reasons as tooltips, and Memo1's text is never changed by them. The
// context menu items and the file drop run the other operations as event
// handlers: an import sets Edit1, Memo1 and Edit3 as Open does and lists
// its warnings in a message box; a failure reaches the error box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

class TForm1;

// Captions of the items added to Memo1's context menu.
inline constexpr std::string_view kImportRtttlItem = "Import RTTTL\u2026";
inline constexpr std::string_view kPasteRtttlItem = "Paste RTTTL";
inline constexpr std::string_view kCopyAsRtttlItem = "Copy as RTTTL";
inline constexpr std::string_view kExportWavItem = "Export as WAV\u2026";

class MelodyTools {
 public:
  // Adds the context menu items to the form's Memo1 and takes the form's
  // file drops. The form must outlive the tools.
  explicit MelodyTools(TForm1& form);

  // Underlines the faulty notes of Memo1.
  void MarkFaults();

  // The menu items' operations.
  void ImportRtttlFromDialog();
  void PasteRtttl();
  void CopyAsRtttl();
  void ExportWavFromDialog();

  // A file dropped on the window: a melody file opens through the form's
  // OpenMelodyFile, as Open and the command line open it; an RTTTL file
  // (.rtttl, .rtx, .txt) is imported. Only the first is taken.
  void OpenDroppedFiles(const std::vector<std::string>& paths);

  void ImportRtttlFile(const std::string& path);
  void ImportRtttlText(std::string_view text);
  void ExportWav(const std::string& path);

 private:
  TForm1& form_;
};

}  // namespace quillora
