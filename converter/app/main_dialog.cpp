#include "converter/app/main_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/link_label.h"
#include "common/qt/picture_label.h"
#include "common/qt/version_history_dialog.h"
#include "converter/app/advanced_options_dialog.h"
#include "converter/app/path_text.h"
#include "converter/app/prompts.h"
#include "converter/app/select_encoding_dialog.h"
#include "converter/app/status_window.h"
#include "converter/app/version_history.h"
#include "converter/core/version.h"

namespace quenlite::app {

QUrl HomePageUrl() { return QUrl(QStringLiteral("https://quenlite.example.org/")); }

// The manual installed beside the program, or the copy in the source tree when run from a
// build directory; the home page's copy when neither is there.
QUrl ManualUrl() {
  const QString app_dir = QCoreApplication::applicationDirPath();
  const QStringList candidates = {
      app_dir + QStringLiteral("/../share/quenlite/manual/quenlite.html"),
      app_dir + QStringLiteral("/manual/quenlite.html"),
#ifdef QUENLITE_SOURCE_MANUAL
      QStringLiteral(QUENLITE_SOURCE_MANUAL),
#endif
  };
  for (const QString& path : candidates)
    if (QFileInfo(path).isFile()) return QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath());
  return QUrl(QStringLiteral("https://quenlite.example.org/manual/quenlite.html"));
}

namespace {

// The stored caption has a hyphen where a white star is shown.
QString MainCaption() {
  QString caption = QStringLiteral("Quenlite - For vexa");
  caption[9] = QChar(0x2606);
  return caption;
}

QLineEdit* DisplayBox(QWidget* parent, const QFont& font) {
  auto* box = new QLineEdit(parent);
  box->setReadOnly(true);  // written by the program, never read back
  box->setFont(font);
  return box;
}

QPushButton* BrowseButton(QWidget* parent) {
  auto* b = new QPushButton(QStringLiteral("..."), parent);
  b->setFixedWidth(32);
  return b;
}

QString CodePageName(common::CodePage cp) {
  const std::u16string name = common::CodePageDisplayName(cp);
  return name.empty() ? QString::number(cp) : QString::fromStdU16String(name);
}

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

MainDialog::MainDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      prompts_(prompts),
      ansi_code_page_(common::AnsiCodePage()),
      status_(std::make_unique<StatusWindow>()),
      save_question_(this, save_place_, prompts) {
  setWindowTitle(MainCaption());
  setWindowIcon(QIcon(QStringLiteral(":/quenlite/quenlite.png")));
  setAcceptDrops(true);
  BuildControls();

  connect(&runner_, &BatchRunner::statusLine, this, &MainDialog::LogLine);
  connect(&runner_, &BatchRunner::counted, this, [this](int total) {
    c_.progress->setRange(0, total);
    c_.progress->setValue(0);
  });
  connect(&runner_, &BatchRunner::fileStarted, this,
          [this](int processed) { c_.progress->setValue(processed); });
  connect(&runner_, &BatchRunner::finished, this, [this] {
    unsetCursor();
    emit batchFinished();
  });
  qApp->installEventFilter(this);

  settings_.Reset();
  RefreshControls();
  ShowSource();
  ShowDestination();
}

MainDialog::~MainDialog() {
  qApp->removeEventFilter(this);
  runner_.Wait();
}

void MainDialog::BuildControls() {
  const QFont path_font = PathFont();

  // Source.
  auto* source = new QGroupBox(QStringLiteral("Source"), this);
  c_.from_files = new QRadioButton(QStringLiteral("From file(s)"), source);
  c_.from_directory = new QRadioButton(QStringLiteral("From directory"), source);
  c_.recursive = new QCheckBox(QStringLiteral("Recursive subdirectories"), source);
  c_.source_path = DisplayBox(source, path_font);
  c_.source_browse = BrowseButton(source);
  c_.source_browse->setDefault(true);
  c_.source_encoding = DisplayBox(source, font());
  c_.source_encoding_button = BrowseButton(source);
  c_.source_format = new QComboBox(source);
  c_.source_format->addItems({QStringLiteral("Automatically Detect"), QStringLiteral("Kra Lyric"),
                              QStringLiteral("Lrc Lyric")});
  c_.source_tag_type = new QComboBox(source);
  c_.source_tag_type->addItems({QStringLiteral("Automatically Detect"), QStringLiteral("HTML Tags"),
                                QStringLiteral("VEXA BBS Tags"), QStringLiteral("Brackets")});
  {
    auto* grid = new QGridLayout(source);
    auto* modes = new QHBoxLayout;
    modes->addWidget(c_.from_files);
    modes->addWidget(c_.from_directory);
    modes->addWidget(c_.recursive);
    modes->addStretch();
    grid->addLayout(modes, 0, 0, 1, 3);
    grid->addWidget(c_.source_path, 1, 0, 1, 2);
    grid->addWidget(c_.source_browse, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Encoding"), source), 2, 0);
    grid->addWidget(c_.source_encoding, 2, 1);
    grid->addWidget(c_.source_encoding_button, 2, 2);
    auto* lists = new QHBoxLayout;
    lists->addWidget(c_.source_format, 1);
    lists->addSpacing(8);
    lists->addWidget(new QLabel(QStringLiteral("Tag Type"), source));
    lists->addWidget(c_.source_tag_type, 1);
    grid->addWidget(new QLabel(QStringLiteral("Format"), source), 3, 0);
    grid->addLayout(lists, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
  }

  // Destination.
  auto* destination = new QGroupBox(QStringLiteral("Destination"), this);
  c_.destination_path = DisplayBox(destination, path_font);
  c_.destination_browse = BrowseButton(destination);
  c_.destination_encoding = DisplayBox(destination, font());
  c_.destination_encoding_button = BrowseButton(destination);
  c_.destination_format = new QComboBox(destination);
  c_.destination_format->addItems(
      {QStringLiteral("Plain Text"), QStringLiteral("Kra Lyric"), QStringLiteral("Lrc Lyric")});
  c_.destination_tag_type = new QComboBox(destination);
  c_.destination_tag_type->addItems({QStringLiteral("None"), QStringLiteral("HTML Tags"),
                                     QStringLiteral("VEXA BBS Tags"), QStringLiteral("Brackets")});
  {
    auto* grid = new QGridLayout(destination);
    grid->addWidget(c_.destination_path, 0, 0, 1, 2);
    grid->addWidget(c_.destination_browse, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Encoding"), destination), 1, 0);
    grid->addWidget(c_.destination_encoding, 1, 1);
    grid->addWidget(c_.destination_encoding_button, 1, 2);
    auto* lists = new QHBoxLayout;
    lists->addWidget(c_.destination_format, 1);
    lists->addSpacing(8);
    lists->addWidget(new QLabel(QStringLiteral("Tag Type"), destination));
    lists->addWidget(c_.destination_tag_type, 1);
    grid->addWidget(new QLabel(QStringLiteral("Format"), destination), 2, 0);
    grid->addLayout(lists, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
  }

  // Options, top to bottom.
  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  auto check = [options](const char* text) {
    return new QCheckBox(QString::fromUtf8(text), options);
  };
  c_.show_status = check("Show status window");
  c_.content_conversion = check("Perform encoding conversion with content");
  c_.file_name_conversion = check("Perform encoding conversion with file name");
  c_.format_conversion = check("Perform format conversion");
  c_.tag_type_conversion = check("Perform tag type conversion");
  c_.split_album = check("Split album name to directory");
  c_.auto_rename = check("Automatically rename destination file");
  c_.force_unicode = check("Force unicode check");
  c_.add_break = check("Add <br> when a line ends");
  c_.more = new common::qt::LinkLabel(QStringLiteral("more ..."), options);
  // Room for the longer text from the start, so that the dialog keeps its size when it changes.
  c_.more->setMinimumWidth(c_.more->fontMetrics().horizontalAdvance(
                               QStringLiteral("(activated) more ...")) + 4);
  c_.more->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  c_.reset = new QPushButton(QStringLiteral("Reset"), options);
  c_.start = new QPushButton(QStringLiteral("Start"), options);
  {
    auto* row = new QHBoxLayout(options);
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* b : {c_.show_status, c_.content_conversion, c_.file_name_conversion,
                         c_.format_conversion, c_.tag_type_conversion, c_.split_album,
                         c_.auto_rename, c_.force_unicode, c_.add_break})
      boxes->addWidget(b);
    row->addLayout(boxes, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(c_.more, 0, Qt::AlignRight);
    side->addStretch();
    side->addWidget(c_.reset);
    side->addWidget(c_.start);
    row->addLayout(side);
  }

  c_.progress = new QProgressBar(this);
  c_.progress->setTextVisible(false);
  c_.progress->setRange(0, 1);
  c_.progress->setValue(0);

  // Banner, links and credits.
  c_.banner = new common::qt::PictureLabel(this);
  c_.banner->setPixmap(QPixmap(QStringLiteral(":/quenlite/banner.png")));
  c_.banner->setFixedSize(420, 120);
  c_.banner->setToolTip(HomePageUrl().toString());
  c_.version = new common::qt::LinkLabel(QString::fromLatin1(VersionText()), this);
  c_.manual = new common::qt::LinkLabel(QStringLiteral("Online Manual"), this);
  auto* rights = new QLabel(QStringLiteral("(C) 2005-2006 the Quenlite developers"), this);
  auto* credits = new QLabel(QStringLiteral("Thanks to everyone who sent lyrics and reports."), this);
  auto* contact = new QLabel(QStringLiteral("Questions and bug reports: see the home page."), this);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(source);
  layout->addWidget(destination);
  layout->addWidget(options);
  layout->addWidget(c_.progress);
  layout->addWidget(c_.banner, 0, Qt::AlignHCenter);
  auto* links = new QHBoxLayout;
  links->addWidget(c_.version);
  links->addStretch();
  links->addWidget(c_.manual);
  layout->addLayout(links);
  layout->addWidget(rights);
  layout->addWidget(credits);
  layout->addWidget(contact);
  for (QWidget* w : {static_cast<QWidget*>(source), static_cast<QWidget*>(destination),
                     static_cast<QWidget*>(options)})
    w->setMinimumWidth(420);

  // Commands.
  connect(c_.from_files, &QRadioButton::clicked, this, [this] { SetSourceMode(SourceMode::Files); });
  connect(c_.from_directory, &QRadioButton::clicked, this,
          [this] { SetSourceMode(SourceMode::Directory); });
  connect(c_.source_browse, &QPushButton::clicked, this, &MainDialog::BrowseSource);
  connect(c_.destination_browse, &QPushButton::clicked, this, &MainDialog::BrowseDestination);
  connect(c_.source_encoding_button, &QPushButton::clicked, this, [this] { ChooseCodePage(true); });
  connect(c_.destination_encoding_button, &QPushButton::clicked, this,
          [this] { ChooseCodePage(false); });
  auto toggle = [this](QCheckBox* box, bool Settings::*flag) {
    connect(box, &QCheckBox::clicked, this, [this, flag] {
      settings_.*flag = !(settings_.*flag);
      RefreshControls();
    });
  };
  toggle(c_.show_status, &Settings::show_status_window);
  toggle(c_.recursive, &Settings::recursive_subdirectories);
  toggle(c_.force_unicode, &Settings::force_unicode_check);
  toggle(c_.add_break, &Settings::add_break_at_line_ends);
  connect(c_.file_name_conversion, &QCheckBox::clicked, this,
          [this] { ToggleNamingOption(&Settings::encoding_conversion_with_file_name); });
  connect(c_.split_album, &QCheckBox::clicked, this,
          [this] { ToggleNamingOption(&Settings::split_album_name); });
  connect(c_.auto_rename, &QCheckBox::clicked, this,
          [this] { ToggleNamingOption(&Settings::auto_rename); });
  connect(c_.content_conversion, &QCheckBox::clicked, this, &MainDialog::ToggleContentConversion);
  connect(c_.format_conversion, &QCheckBox::clicked, this, &MainDialog::ToggleFormatConversion);
  connect(c_.tag_type_conversion, &QCheckBox::clicked, this, &MainDialog::ToggleTagTypeConversion);
  connect(c_.source_format, &QComboBox::activated, this, [this](int i) { FormatChosen(true, i); });
  connect(c_.destination_format, &QComboBox::activated, this,
          [this](int i) { FormatChosen(false, i); });
  connect(c_.source_tag_type, &QComboBox::activated, this, [this](int i) { TagTypeChosen(true, i); });
  connect(c_.destination_tag_type, &QComboBox::activated, this,
          [this](int i) { TagTypeChosen(false, i); });
  connect(c_.start, &QPushButton::clicked, this, &MainDialog::Start);
  connect(c_.reset, &QPushButton::clicked, this, &MainDialog::Reset);
  connect(c_.more, &common::qt::LinkLabel::clicked, this, &MainDialog::OpenAdvancedOptions);
  connect(c_.version, &common::qt::LinkLabel::clicked, this, &MainDialog::VersionHistory);
  connect(c_.manual, &common::qt::LinkLabel::clicked, this, [this] { prompts_.OpenUrl(ManualUrl()); });
  connect(c_.banner, &common::qt::PictureLabel::clicked, this,
          [this] { prompts_.OpenUrl(HomePageUrl()); });
}

void MainDialog::RefreshControls() {
  const Settings& s = settings_;
  if (s.show_status_window) {
    if (!status_->isVisible()) {
      if (!status_placed_) {
        // First showing: to the right of the main dialog, kept on the screen.
        status_placed_ = true;
        const QRect me = frameGeometry();
        int x = me.right() + 8;
        if (const QScreen* s = this->screen()) {
          const QRect screen = s->availableGeometry();
          x = std::max(screen.left(), std::min(x, screen.right() + 1 - status_->width()));
        }
        status_->move(x, me.top());
      }
      status_->show();
    }
  } else {
    status_->hide();
  }
  c_.show_status->setChecked(s.show_status_window);

  c_.source_encoding->setText(CodePageName(s.source_code_page));
  c_.destination_encoding->setText(CodePageName(s.destination_code_page));
  c_.source_encoding->setCursorPosition(0);
  c_.destination_encoding->setCursorPosition(0);

  c_.from_files->setChecked(s.source_mode == SourceMode::Files);
  c_.from_directory->setChecked(s.source_mode == SourceMode::Directory);
  c_.recursive->setChecked(s.recursive_subdirectories);
  c_.recursive->setEnabled(s.source_mode == SourceMode::Directory);

  c_.start->setEnabled(selection_.SourceSet(s) && selection_.DestinationSet());

  c_.content_conversion->setChecked(s.encoding_conversion_with_content);
  c_.add_break->setChecked(s.add_break_at_line_ends);
  c_.file_name_conversion->setChecked(s.encoding_conversion_with_file_name);
  const bool encodings = s.encoding_conversion_with_content || s.encoding_conversion_with_file_name;
  for (QWidget* w : {static_cast<QWidget*>(c_.source_encoding),
                     static_cast<QWidget*>(c_.destination_encoding),
                     static_cast<QWidget*>(c_.source_encoding_button),
                     static_cast<QWidget*>(c_.destination_encoding_button)})
    w->setEnabled(encodings);

  c_.format_conversion->setChecked(s.format_conversion);
  c_.source_format->setEnabled(s.format_conversion);
  c_.destination_format->setEnabled(s.format_conversion);
  c_.source_format->setCurrentIndex(static_cast<int>(s.source_format));
  c_.destination_format->setCurrentIndex(static_cast<int>(s.destination_format));

  c_.tag_type_conversion->setChecked(s.tag_type_conversion);
  c_.source_tag_type->setEnabled(s.tag_type_conversion);
  c_.destination_tag_type->setEnabled(s.tag_type_conversion);
  c_.source_tag_type->setCurrentIndex(static_cast<int>(s.source_tag_type));
  c_.destination_tag_type->setCurrentIndex(static_cast<int>(s.destination_tag_type));

  c_.split_album->setChecked(s.split_album_name);
  c_.auto_rename->setChecked(s.auto_rename);
  c_.force_unicode->setChecked(s.force_unicode_check);

  c_.add_break->setEnabled(s.tag_type_conversion &&
                           s.destination_tag_type == common::ConverterTagType::Html);
}

void MainDialog::ShowSource() {
  QString text;
  if (selection_.SourceSet(settings_)) {
    const QString folder = FromCorePath(selection_.source_folder);
    if (settings_.source_mode == SourceMode::Directory) {
      text = folder;
    } else {
      if (!selection_.DestinationSet()) selection_.destination_folder = selection_.source_folder;
      if (selection_.source_names.size() == 1) {
        selection_.destination_file_name = MakeDestName(settings_, selection_.source_names.front());
        text = QStringLiteral("%1%2").arg(folder, FromCorePath(selection_.source_names.front()));
      } else {
        text = QStringLiteral("%1{%2 files}").arg(folder).arg(selection_.source_names.size());
      }
    }
  }
  c_.source_path->setText(text);
  c_.source_path->setToolTip(text);
  c_.source_path->setCursorPosition(0);
  c_.start->setEnabled(selection_.SourceSet(settings_) && selection_.DestinationSet());
}

void MainDialog::ShowDestination() {
  QString text;
  if (selection_.DestinationSet()) {
    const QString folder = FromCorePath(selection_.destination_folder);
    if (settings_.source_mode == SourceMode::Directory) {
      text = folder;
    } else if (selection_.source_names.size() <= 1) {
      text = folder + FromCorePath(selection_.destination_file_name);
    } else {
      text = QStringLiteral("%1{%2 files}").arg(folder).arg(selection_.source_names.size());
    }
  }
  c_.destination_path->setText(text);
  c_.destination_path->setToolTip(text);
  c_.destination_path->setCursorPosition(0);
  c_.start->setEnabled(selection_.SourceSet(settings_) && selection_.DestinationSet());
}

void MainDialog::ClearSource() {
  selection_.source_folder.clear();
  selection_.source_names.clear();
}

void MainDialog::ClearDestination() {
  selection_.destination_folder.clear();
  selection_.destination_file_name.clear();
}

void MainDialog::SetSourceMode(SourceMode mode) {
  if (settings_.source_mode != mode) {
    settings_.source_mode = mode;
    ClearSource();
    c_.source_path->clear();
  }
  RefreshControls();
}

// A new source: the path boxes follow it and the progress bar starts again from 0.
void MainDialog::SourceChanged() {
  ShowSource();
  ShowDestination();
  c_.progress->setValue(0);
}

void MainDialog::BrowseSource() {
  if (settings_.source_mode == SourceMode::Files) {
    const QStringList files = prompts_.ChooseSourceFiles(this);
    if (files.isEmpty() || !DropSource(files)) return;
  } else {
    const QString folder =
        prompts_.ChooseFolder(this, QStringLiteral("Please choose the source folder:"));
    if (folder.isEmpty()) return;
    selection_.source_folder = ToCoreFolder(folder);
    SourceChanged();
  }
}

bool MainDialog::DropSource(const QStringList& paths) {
  if (paths.isEmpty()) return false;
  if (paths.size() == 1 && QFileInfo(paths.front()).isDir()) {
    SetSourceMode(SourceMode::Directory);
    selection_.source_folder = ToCoreFolder(QFileInfo(paths.front()).absoluteFilePath());
    SourceChanged();
    return true;
  }
  // Files of one folder, in the order given.
  const QString folder = QFileInfo(paths.front()).absolutePath();
  std::vector<std::u16string> names;
  for (const QString& p : paths) {
    const QFileInfo info(p);
    if (info.isDir() || info.absolutePath() != folder || info.fileName().isEmpty()) return false;
    names.push_back(ToCorePath(info.fileName()));
  }
  SetSourceMode(SourceMode::Files);
  selection_.source_folder = ToCoreFolder(folder);
  selection_.source_names = std::move(names);
  SourceChanged();
  return true;
}

void MainDialog::BrowseDestination() {
  if (settings_.source_mode == SourceMode::Files && selection_.source_names.size() <= 1) {
    QString preset;
    if (!selection_.destination_file_name.empty())
      preset = FromCorePath(selection_.destination_folder + selection_.destination_file_name);
    const QString path = prompts_.ChooseSaveFile(this, preset);
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    selection_.destination_folder = ToCoreFolder(info.absolutePath());
    selection_.destination_file_name = ToCorePath(info.fileName());
  } else {
    const QString folder =
        prompts_.ChooseFolder(this, QStringLiteral("Please choose the destination folder:"));
    if (folder.isEmpty()) return;
    selection_.destination_folder = ToCoreFolder(folder);
  }
  ShowDestination();
}

void MainDialog::ChooseCodePage(bool source) {
  common::CodePage& cp = source ? settings_.source_code_page : settings_.destination_code_page;
  cp = SelectEncoding(this, cp, encoding_place_);
  RefreshControls();
}

void MainDialog::RegenerateDestinationName() {
  if (settings_.source_mode == SourceMode::Files && selection_.source_names.size() == 1)
    selection_.destination_file_name = MakeDestName(settings_, selection_.source_names.front());
}

void MainDialog::AdjustDestinationExtension() {
  if (!selection_.destination_file_name.empty())
    AdjustExtension(settings_, selection_.destination_file_name);
}

void MainDialog::ToggleNamingOption(bool Settings::*option) {
  settings_.*option = !(settings_.*option);
  RefreshControls();
  RegenerateDestinationName();
  ShowDestination();
}

void MainDialog::ToggleContentConversion() {
  settings_.SetContentConversion(!settings_.encoding_conversion_with_content, ansi_code_page_);
  RefreshControls();
}

void MainDialog::ToggleFormatConversion() {
  settings_.SetFormatConversion(!settings_.format_conversion);
  RefreshControls();
  AdjustDestinationExtension();
  ShowDestination();
}

void MainDialog::ToggleTagTypeConversion() {
  settings_.SetTagTypeConversion(!settings_.tag_type_conversion);
  RefreshControls();
}

void MainDialog::FormatChosen(bool source, int index) {
  if (!settings_.format_conversion || index < 0) return;
  if (source) {
    settings_.source_format = static_cast<FormatSource>(index);
    RefreshControls();
  } else {
    settings_.destination_format = static_cast<FormatDestination>(index);
    RefreshControls();
    AdjustDestinationExtension();
    ShowDestination();
  }
}

void MainDialog::TagTypeChosen(bool source, int index) {
  if (!settings_.tag_type_conversion || index < 0) return;
  (source ? settings_.source_tag_type : settings_.destination_tag_type) =
      static_cast<common::ConverterTagType>(index);
  RefreshControls();
}

void MainDialog::Start() {
  if (runner_.running() || !selection_.SourceSet(settings_) || !selection_.DestinationSet()) return;
  if (status_->isVisible()) {
    status_->raise();
    status_->activateWindow();
  }
  setCursor(Qt::BusyCursor);
  runner_.Start(settings_, selection_, save_question_);
}

void MainDialog::Reset() {
  settings_.Reset();
  ClearSource();
  ClearDestination();
  c_.more->setText(QStringLiteral("more ..."));
  RefreshControls();
  ShowSource();
  ShowDestination();
}

void MainDialog::UpdateMoreLink() {
  c_.more->setText(settings_.advanced.Active() ? QStringLiteral("(activated) more ...")
                                               : QStringLiteral("more ..."));
}

void MainDialog::OpenAdvancedOptions() {
  ShowAdvancedOptions(this, settings_.advanced, history_place_);
  UpdateMoreLink();
}

void MainDialog::VersionHistory() {
  common::qt::ShowVersionHistory(this, QuenliteHistory(), history_place_);
}

// Lines offered while the Status window is switched off are dropped.
void MainDialog::LogLine(const QString& line) {
  if (settings_.show_status_window) status_->AppendLine(line);
}

void MainDialog::reject() {}

void MainDialog::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    adjustSize();
    if (QScreen* s = screen()) {
      const QRect full = s->geometry();
      const QRect frame = frameGeometry();
      move(full.left() + (full.width() - frame.width()) / 2,
           full.top() + (full.height() - frame.height()) / 2);
    }
  }
  QDialog::showEvent(event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (runner_.running()) {  // a batch in progress ends first
    event->ignore();
    return;
  }
  // The close box ends the program; Esc (reject) does not, so QDialog's own handling, which
  // goes through reject, is bypassed.
  status_->hide();
  ClearSource();
  ClearDestination();
  event->accept();
}

// The Status window follows the main dialog's minimising and restoring while it is shown.
void MainDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const bool minimized = isMinimized();
    if (settings_.show_status_window) {
      if (minimized && !was_minimized_) status_->showMinimized();
      else if (!minimized && was_minimized_) status_->showNormal();
    }
    was_minimized_ = minimized;
  }
  QDialog::changeEvent(event);
}

// While a batch runs the main dialog takes no input; the Status window and the Save dialog do.
bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (runner_.running() && watched->isWidgetType() && IsUserInput(event->type())) {
    auto* w = static_cast<QWidget*>(watched);
    if (w == this || isAncestorOf(w)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (runner_.running() || !event->mimeData()->hasUrls()) return;
  for (const QUrl& url : event->mimeData()->urls())
    if (!url.isLocalFile()) return;
  event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
  if (DropSource(paths)) event->acceptProposedAction();
}

}  // namespace quenlite::app
