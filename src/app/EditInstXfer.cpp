#include "EditInstXfer.h"

#include "PathText.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tomery::app {

namespace {

/// How long a program asked to end may take before it is killed.
constexpr int kEndGraceMs = 2000;

QStringList Arguments(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << PathToQt(argument);
    }
    return list;
}

}  // namespace

TPilotXferDlg::TPilotXferDlg(QWidget* parent, std::string program,
                             std::vector<std::string> arguments)
    : QDialog(parent), program_(std::move(program)), arguments_(std::move(arguments)) {
    setWindowTitle(QStringLiteral("Install PDA"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* prompt = new QLabel(QStringLiteral("Press the HotSync button on the handheld"), this);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setMinimumSize(460, 160);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(cancel_, &QPushButton::clicked, this, &TPilotXferDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(log_);
    layout->addLayout(buttons);
    adjustSize();  // sized before it shows, so that it is placed by its real size

    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    connect(process_, &QProcess::readyRead, this, [this] {
        log_->moveCursor(QTextCursor::End);
        log_->insertPlainText(QString::fromLocal8Bit(process_->readAll()));
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    });
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        Finish(status == QProcess::NormalExit ? code : -1);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            startError_ = process_->errorString().toStdString();
            Finish(-1);
        }
    });
}

TPilotXferDlg::~TPilotXferDlg() {
    // A program still running when the dialog goes is ended with it.
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kEndGraceMs);
    }
}

std::string TPilotXferDlg::Output() const {
    return log_->toPlainText().toStdString();
}

void TPilotXferDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Started from the dialog's own loop, so that its end always finds the dialog open.
        QTimer::singleShot(0, this,
                           [this] { process_->start(PathToQt(program_), Arguments(arguments_)); });
    }
}

void TPilotXferDlg::reject() {
    // Cancel and Esc: the program is asked to end, then made to.
    if (process_->state() != QProcess::NotRunning) {
        process_->blockSignals(true);
        process_->terminate();
        if (!process_->waitForFinished(kEndGraceMs)) {
            process_->kill();
            process_->waitForFinished(kEndGraceMs);
        }
        process_->blockSignals(false);
    }
    exitCode_ = -1;
    QDialog::reject();
}

void TPilotXferDlg::Finish(int exitCode) {
    if (!isVisible()) {
        return;
    }
    process_->waitForReadyRead(0);
    if (const QByteArray rest = process_->readAll(); !rest.isEmpty()) {
        log_->moveCursor(QTextCursor::End);
        log_->insertPlainText(QString::fromLocal8Bit(rest));
    }
    exitCode_ = exitCode;
    accept();
}

install::TProgramRun RunProgramAndWait(const std::vector<std::string>& arguments,
                                       const std::vector<std::string>& environment) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const std::string& variable : environment) {
        const auto equals = variable.find('=');
        variables.insert(PathToQt(variable.substr(0, equals)),
                         PathToQt(variable.substr(equals + 1)));
    }
    process.setProcessEnvironment(variables);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop,
                     [&loop](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             loop.quit();
                         }
                     });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    process.start(PathToQt(arguments.front()),
                  Arguments(std::vector<std::string>(arguments.begin() + 1, arguments.end())));
    if (process.state() != QProcess::NotRunning) {
        // Input stays with the loop's windows: the user sees a busy window, not a dead one.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QApplication::restoreOverrideCursor();
    install::TProgramRun run;
    run.output = QString::fromLocal8Bit(process.readAll()).trimmed().toStdString();
    if (process.error() == QProcess::FailedToStart) {
        run.output = process.errorString().toStdString();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    return run;
}

}  // namespace tomery::app
