#pragma once

#include <QDialog>
#include <QUrl>
#include <memory>

#include "common/placement.h"
#include "converter/app/batch_runner.h"
#include "converter/app/save_dialog.h"
#include "converter/core/naming.h"
#include "converter/core/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace common::qt {
class LinkLabel;
class PictureLabel;
}  // namespace common::qt

namespace quenlite::app {

class Prompts;
class StatusWindow;

// The pages the links open.
QUrl HomePageUrl();
QUrl ManualUrl();

// Quenlite's main dialog: the source and destination, the options, Start and the progress bar,
// the links, and the Status window it shows and hides. Every control changes the settings
// through one command and then the controls are set again from the settings.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MainDialog(Prompts& prompts, QWidget* parent = nullptr);
  ~MainDialog() override;

  const Settings& settings() const { return settings_; }
  const Selection& selection() const { return selection_; }
  StatusWindow* statusWindow() const { return status_.get(); }
  bool busy() const { return runner_.running(); }
  BatchRunner& runner() { return runner_; }

  // Sets every control from the settings and the selection.
  void RefreshControls();
  // Write the source and destination path boxes; the source side fills in a missing
  // destination in file mode.
  void ShowSource();
  void ShowDestination();

  // Makes paths the source exactly as the "..." button would: one folder (directory mode) or
  // files of one folder (file mode). False, and nothing changed, for anything else.
  bool DropSource(const QStringList& paths);

  // The controls, for the program's tests.
  struct Controls {
    QRadioButton* from_files;
    QRadioButton* from_directory;
    QCheckBox* recursive;
    QLineEdit* source_path;
    QPushButton* source_browse;
    QLineEdit* source_encoding;
    QPushButton* source_encoding_button;
    QComboBox* source_format;
    QComboBox* source_tag_type;
    QLineEdit* destination_path;
    QPushButton* destination_browse;
    QLineEdit* destination_encoding;
    QPushButton* destination_encoding_button;
    QComboBox* destination_format;
    QComboBox* destination_tag_type;
    QCheckBox* show_status;
    QCheckBox* content_conversion;
    QCheckBox* file_name_conversion;
    QCheckBox* format_conversion;
    QCheckBox* tag_type_conversion;
    QCheckBox* split_album;
    QCheckBox* auto_rename;
    QCheckBox* force_unicode;
    QCheckBox* add_break;
    common::qt::LinkLabel* more;
    QPushButton* reset;
    QPushButton* start;
    QProgressBar* progress;
    common::qt::PictureLabel* banner;
    common::qt::LinkLabel* version;
    common::qt::LinkLabel* manual;
  };
  const Controls& controls() const { return c_; }

  void reject() override;  // Esc does not close the main dialog

 signals:
  void batchFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void SetSourceMode(SourceMode mode);
  void BrowseSource();
  void BrowseDestination();
  void ChooseCodePage(bool source);
  void ToggleNamingOption(bool Settings::*option);
  void ToggleContentConversion();
  void ToggleFormatConversion();
  void ToggleTagTypeConversion();
  void FormatChosen(bool source, int index);
  void TagTypeChosen(bool source, int index);
  void Start();
  void Reset();
  void OpenAdvancedOptions();
  void VersionHistory();
  void RegenerateDestinationName();
  void AdjustDestinationExtension();
  void SourceChanged();
  void ClearSource();
  void ClearDestination();
  void UpdateMoreLink();
  void LogLine(const QString& line);

  Prompts& prompts_;
  Settings settings_;
  Selection selection_;
  common::CodePage ansi_code_page_;
  Controls c_{};
  std::unique_ptr<StatusWindow> status_;
  BatchRunner runner_;
  common::RememberedPlace encoding_place_;
  common::RememberedPlace save_place_;
  common::RememberedPlace history_place_;  // shared by Version History and Advanced Options
  SaveDialogQuestion save_question_;
  bool centred_ = false;
  bool status_placed_ = false;
  bool was_minimized_ = false;
};

}  // namespace quenlite::app
