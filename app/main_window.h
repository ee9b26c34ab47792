// The application shell: start-up and the main window.
//
// Data flow: main() creates the application and TForm1, which builds every
// control from its stored layout and binds them by name. Each control event
// reaches a handler of TForm1 named after the control and the event; the
// handlers read controls, call the notation, sound, key-entry and file
// libraries, and write controls back.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "app/melody_tools.h"
#include "base/sleeper.h"
#include "keyentry/key_entry.h"
#include "keyentry/time_of_day.h"
#include "keyentry/window_key_entry_view.h"
#include "sound/player_control.h"
#include "sound/tone_gen.h"
#include "toolkit/check_box.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/gauge.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/memo.h"
#include "toolkit/speed_button.h"
#include "toolkit/timer.h"

namespace quillora {

inline constexpr std::string_view kApplicationTitle =
    "Quillora (ZIDIZ Edition)";

// Registers every class the program's layouts use.
void RegisterProgramClasses(ComponentRegistry& registry);

class TForm1 : public TForm {
 public:
  // Creates the window from the stored layout `layoutPath` (a Qt resource
  // path by default) with the classes of `registry`.
  explicit TForm1(
      TComponent* owner, const ComponentRegistry& registry,
      const char* layoutPath = ":/quillora/layouts/main_window.layout");
  // Ends the running melody players and waits for their threads, so that
  // none outlives the window or sounds after it.
  ~TForm1() override;

  std::string_view ClassName() const override { return "TForm1"; }

  // Controls, in the order the layout lays them.
  TImage* Image1;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton2;
  TSpeedButton* SpeedButton3;
  TSpeedButton* SpeedButton4;
  TLabel* Label1;
  TLabel* Label2;
  TSpeedButton* SpeedButton5;
  TSpeedButton* SpeedButton6;
  TImage* Image2;
  TLabel* Label3;
  TLabel* Label4;
  TImage* Image_1;
  TImage* Image_2;
  TImage* Image_3;
  TImage* Image_4;
  TImage* Image_5;
  TImage* Image_6;
  TImage* Image_7;
  TImage* Image_8;
  TImage* Image_9;
  TImage* Image_zv;
  TImage* Image_0;
  TImage* Image_rs;
  TImage* Image_empty;
  TCGauge* CGauge1;
  TSpeedButton* SpeedButton7;
  TSpeedButton* SpeedButton8;
  TLabel* Label5;
  TSpeedButton* SpeedButton9;
  TSpeedButton* SpeedButton10;
  TSpeedButton* SpeedButton11;
  TMemo* Memo1;
  TMemo* Memo2;
  TEdit* Edit1;
  TCheckBox* CheckBox1;
  TEdit* Edit2;
  TEdit* Edit3;
  TToneGen* ToneGen1;
  TTimer* Timer1;
  TTimer* Timer2;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

  // Window handlers.
  void FormShow(TComponent& Sender);
  void SpeedButton3Click(TComponent& Sender);
  void SpeedButton4Click(TComponent& Sender);
  void Label1MouseDown(TComponent& Sender, MouseButton Button, int X, int Y);
  void Edit2Change(TComponent& Sender);
  void Edit3Change(TComponent& Sender);
  // Melody text: note count, key list, faulty notes underlined.
  void Memo1Change(TComponent& Sender);
  // Melody player.
  void SpeedButton1Click(TComponent& Sender);
  void SpeedButton2Click(TComponent& Sender);
  // What the window shares with the player started last; null before the
  // first Play. Outlives the player, which frees itself.
  std::shared_ptr<PlayerControl> PlayerThread;
  // Melody files.
  void SpeedButton5Click(TComponent& Sender);
  void SpeedButton6Click(TComponent& Sender);
  // Open's work once a file is chosen: the file's title, notes and tempo
  // replace the fields. Also opens the file named on the command line.
  void OpenMelodyFile(const std::filesystem::path& path);
  // Key entry.
  void SpeedButton7Click(TComponent& Sender);
  void SpeedButton8Click(TComponent& Sender);
  void SpeedButton9Click(TComponent& Sender);
  void Timer2Timer(TComponent& Sender);
  // Phone display clock.
  void Timer1Timer(TComponent& Sender);
  // About window and help.
  void SpeedButton10Click(TComponent& Sender);
  void SpeedButton11Click(TComponent& Sender);

  // The folder of the running executable.
  const std::filesystem::path& ProgramFolder() const { return programFolder_; }

  // What the key entry waits with, and where the phone clock reads the time
  // of day; tests put in their own.
  void SetKeyEntrySleeper(Sleeper& sleeper) { keyEntry_->SetSleeper(sleeper); }
  void SetTimeOfDaySource(TimeOfDaySource& source) { timeOfDay_ = &source; }

 private:
  template <typename T>
  T* Bind(std::string_view name);
  void BindControls();
  void ConnectEvents();

  std::filesystem::path programFolder_;
  std::unique_ptr<WindowKeyEntryView> keyEntryView_;
  std::unique_ptr<KeyEntry> keyEntry_;
  TimeOfDaySource* timeOfDay_ = &SystemTimeOfDay();
  std::unique_ptr<MelodyTools> melodyTools_;
};

}  // namespace quillora
