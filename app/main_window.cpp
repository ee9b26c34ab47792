#include "app/main_window.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/about_window.h"
#include "app/desktop_targets.h"
#include "app/field_rules.h"
#include "base/text_ops.h"
#include "files/melody_file.h"
#include "keyentry/display_texts.h"
#include "keyentry/key_entry_state.h"
#include "keyentry/key_string.h"
#include "keyentry/painting_sleeper.h"
#include "keyentry/phone_status.h"
#include "notation/key_sequence.h"
#include "sound/midi_play_thread.h"
#include "toolkit/application.h"
#include "toolkit/desktop_services.h"
#include "toolkit/toolkit_classes.h"

namespace quillora {

void RegisterProgramClasses(ComponentRegistry& registry) {
  RegisterToolkitClasses(registry);
  registry.Register<TToneGen>("TToneGen");
}

TForm1::TForm1(TComponent* owner, const ComponentRegistry& registry,
               const char* layoutPath)
    : TForm(owner), programFolder_(ExecutableFolder()) {
  LoadFromResource(layoutPath, registry);
  BindControls();
  keyEntryView_ = std::make_unique<WindowKeyEntryView>(KeyEntryControls{
      .keyList = Memo2,
      .secondsPerKey = Edit2,
      .beepsOn = CheckBox1,
      .status = Label4,
      .estimate = Label5,
      .gauge = CGauge1,
      .keypad = Image2,
      .unlitKeypad = Image_empty,
      .litKeypads = {Image_1, Image_2, Image_3, Image_4, Image_5, Image_6,
                     Image_7, Image_8, Image_9, Image_zv, Image_0, Image_rs},
      .beeper = ToneGen1,
      .timer = Timer2,
  });
  keyEntry_ =
      std::make_unique<KeyEntry>(*keyEntryView_, KeyString, PaintingSleeper());
  ConnectEvents();
  melodyTools_ = std::make_unique<MelodyTools>(*this);
}

template <typename T>
T* TForm1::Bind(std::string_view name) {
  T* control = dynamic_cast<T*>(FindComponent(name));
  if (!control) {
    throw std::runtime_error("The window layout has no control " +
                             std::string(name) + " of the expected class");
  }
  return control;
}

void TForm1::BindControls() {
  Image1 = Bind<TImage>("Image1");
  SpeedButton1 = Bind<TSpeedButton>("SpeedButton1");
  SpeedButton2 = Bind<TSpeedButton>("SpeedButton2");
  SpeedButton3 = Bind<TSpeedButton>("SpeedButton3");
  SpeedButton4 = Bind<TSpeedButton>("SpeedButton4");
  Label1 = Bind<TLabel>("Label1");
  Label2 = Bind<TLabel>("Label2");
  SpeedButton5 = Bind<TSpeedButton>("SpeedButton5");
  SpeedButton6 = Bind<TSpeedButton>("SpeedButton6");
  Image2 = Bind<TImage>("Image2");
  Label3 = Bind<TLabel>("Label3");
  Label4 = Bind<TLabel>("Label4");
  Image_1 = Bind<TImage>("Image_1");
  Image_2 = Bind<TImage>("Image_2");
  Image_3 = Bind<TImage>("Image_3");
  Image_4 = Bind<TImage>("Image_4");
  Image_5 = Bind<TImage>("Image_5");
  Image_6 = Bind<TImage>("Image_6");
  Image_7 = Bind<TImage>("Image_7");
  Image_8 = Bind<TImage>("Image_8");
  Image_9 = Bind<TImage>("Image_9");
  Image_zv = Bind<TImage>("Image_zv");
  Image_0 = Bind<TImage>("Image_0");
  Image_rs = Bind<TImage>("Image_rs");
  Image_empty = Bind<TImage>("Image_empty");
  CGauge1 = Bind<TCGauge>("CGauge1");
  SpeedButton7 = Bind<TSpeedButton>("SpeedButton7");
  SpeedButton8 = Bind<TSpeedButton>("SpeedButton8");
  Label5 = Bind<TLabel>("Label5");
  SpeedButton9 = Bind<TSpeedButton>("SpeedButton9");
  SpeedButton10 = Bind<TSpeedButton>("SpeedButton10");
  SpeedButton11 = Bind<TSpeedButton>("SpeedButton11");
  Memo1 = Bind<TMemo>("Memo1");
  Memo2 = Bind<TMemo>("Memo2");
  Edit1 = Bind<TEdit>("Edit1");
  CheckBox1 = Bind<TCheckBox>("CheckBox1");
  Edit2 = Bind<TEdit>("Edit2");
  Edit3 = Bind<TEdit>("Edit3");
  ToneGen1 = Bind<TToneGen>("ToneGen1");
  Timer1 = Bind<TTimer>("Timer1");
  Timer2 = Bind<TTimer>("Timer2");
  OpenDialog1 = Bind<TOpenDialog>("OpenDialog1");
  SaveDialog1 = Bind<TSaveDialog>("SaveDialog1");
}

void TForm1::ConnectEvents() {
  using namespace std::placeholders;
  auto notify = [this](void (TForm1::*handler)(TComponent&)) {
    return [this, handler](TComponent& sender) { (this->*handler)(sender); };
  };
  OnShow = notify(&TForm1::FormShow);
  Memo1->OnChange = notify(&TForm1::Memo1Change);
  SpeedButton1->OnClick = notify(&TForm1::SpeedButton1Click);
  SpeedButton2->OnClick = notify(&TForm1::SpeedButton2Click);
  SpeedButton3->OnClick = notify(&TForm1::SpeedButton3Click);
  SpeedButton4->OnClick = notify(&TForm1::SpeedButton4Click);
  Label1->OnMouseDown = [this](TComponent& sender, MouseButton button, int x,
                               int y) {
    Label1MouseDown(sender, button, x, y);
  };
  SpeedButton5->OnClick = notify(&TForm1::SpeedButton5Click);
  SpeedButton6->OnClick = notify(&TForm1::SpeedButton6Click);
  SpeedButton7->OnClick = notify(&TForm1::SpeedButton7Click);
  SpeedButton8->OnClick = notify(&TForm1::SpeedButton8Click);
  SpeedButton9->OnClick = notify(&TForm1::SpeedButton9Click);
  SpeedButton10->OnClick = notify(&TForm1::SpeedButton10Click);
  SpeedButton11->OnClick = notify(&TForm1::SpeedButton11Click);
  Edit2->OnChange = notify(&TForm1::Edit2Change);
  Edit3->OnChange = notify(&TForm1::Edit3Change);
  Timer1->OnTimer = notify(&TForm1::Timer1Timer);
  Timer2->OnTimer = notify(&TForm1::Timer2Timer);
}

void TForm1::FormShow(TComponent&) {
  // The window is exactly the skin; the lit-key pictures below fall outside.
  SetClientSize(Image1->Width(), Image1->Height());
  Memo1Change(*Memo1);
}

void TForm1::Memo1Change(TComponent&) {
  const KeySequence sequence =
      GenerateKeySequence(Memo1->Text(), ProgramNoteTable());
  Label2->SetCaption(std::to_string(sequence.noteCount));
  Memo2->SetText(sequence.keys);
  if (melodyTools_) melodyTools_->MarkFaults();
}

void TForm1::SpeedButton3Click(TComponent&) {
  TApplication::Instance().Terminate();
}

void TForm1::SpeedButton4Click(TComponent&) {
  TApplication::Instance().Minimize();
}

void TForm1::Label1MouseDown(TComponent&, MouseButton, int, int) {
  StartWindowDrag();
}

void TForm1::Edit2Change(TComponent&) {
  if (const auto corrected = CorrectedSecondsPerKey(Edit2->Text())) {
    Edit2->SetText(*corrected);
  }
}

void TForm1::Edit3Change(TComponent&) {
  if (const auto corrected = CorrectedTempo(Edit3->Text())) {
    Edit3->SetText(*corrected);
  }
}

void TForm1::SpeedButton7Click(TComponent&) { keyEntry_->Start(); }

void TForm1::SpeedButton9Click(TComponent&) { keyEntry_->Pause(); }

void TForm1::SpeedButton8Click(TComponent&) { keyEntry_->Stop(); }

void TForm1::Timer2Timer(TComponent&) { keyEntry_->Tick(); }

void TForm1::Timer1Timer(TComponent&) {
  const bool paused = IsKeyEntryPaused(KeyString, Timer2->Enabled());
  Label4->SetCaption(NextPhoneStatus(Label4->Caption(), paused));
  const TimeOfDay now = timeOfDay_->Now();
  Label3->SetCaption(ClockText(now.hour, now.minute));
}

TForm1::~TForm1() { MyMidiPlayThread::StopAllPlayers(); }

// Play: a new player of its own for each press; an earlier one plays on.
void TForm1::SpeedButton1Click(TComponent&) {
  // Owned here until it runs: a player that never starts (the tempo field
  // holds no number) is released with the handler.
  auto player = std::make_unique<MyMidiPlayThread>(true);
  PlayerThread = player->SharedControl();
  player->SetMelody(Memo1->Text());
  const std::optional<std::int32_t> tempo = ToInt32(Edit3->Text());
  if (!tempo) {
    throw std::invalid_argument("'" + Edit3->Text() +
                                "' is not a valid integer value");
  }
  player->SetTempo(*tempo);
  player->SetFreeOnTerminate(true);
  player->SetPriority(ThreadPriority::kTimeCritical);
  player->Start();
  player.release();  // frees itself when the melody is over
}

// Stop: the last player started ends after the note in progress.
void TForm1::SpeedButton2Click(TComponent&) {
  if (PlayerThread && !PlayerThread->Finished()) PlayerThread->RequestStop();
}

// Open: the chosen melody file's title, notes and tempo replace the fields;
// setting them runs Memo1Change and Edit3Change.
void TForm1::SpeedButton5Click(TComponent&) {
  OpenDialog1->SetInitialDir(MelodiesFolder(ProgramFolder()).string());
  if (!OpenDialog1->Execute()) return;
  OpenMelodyFile(OpenDialog1->FileName());
}

void TForm1::OpenMelodyFile(const std::filesystem::path& path) {
  const MelodyFile melody = LoadMelodyFile(path);
  Edit1->SetText(melody.title);
  Memo1->SetText(melody.notes);
  Edit3->SetText(melody.tempo);
}

// Save: the title, the melody flattened to one line and the tempo go into
// the chosen file; a failure reaches the error box and leaves the file as it
// was.
void TForm1::SpeedButton6Click(TComponent&) {
  const std::string notes = FlattenMelodyText(Memo1->Text());
  SaveDialog1->SetInitialDir(MelodiesFolder(ProgramFolder()).string());
  if (!SaveDialog1->Execute()) return;
  SaveMelodyFile(SaveDialog1->FileName(),
                 MelodyFile{Edit1->Text(), notes, Edit3->Text()});
}

void TForm1::SpeedButton10Click(TComponent&) {
  // Most Linux desktops have no viewer for the compiled help; the same pages
  // as plain HTML then open in the browser.
  const std::filesystem::path htmlContents =
      programFolder_ / kHtmlHelpFolder / kHtmlHelpContents;
  Desktop().OpenWithHandlerOr(
      (programFolder_ / kHelpFileName).string(),
      {std::begin(kHelpFileTypes), std::end(kHelpFileTypes)},
      htmlContents.string());
}

void TForm1::SpeedButton11Click(TComponent&) {
  ComponentRegistry registry;
  RegisterToolkitClasses(registry);
  // A fresh window for each showing, destroyed when the showing ends.
  TForm2 about(nullptr, registry);
  about.ShowModal();
}

}  // namespace quillora
