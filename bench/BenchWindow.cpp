#include "BenchWindow.h"

#include "platform/gui/Application.h"

#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

namespace quarn::bench {

BenchWindow::BenchWindow() {
    auto* layout = new QVBoxLayout(&window_);
    for (QWidget* child : std::initializer_list<QWidget*>{&type_, &inFile_, &outFile_, &fileBar_,
                                                          &counter_, &overallBar_}) {
        layout->addWidget(child);
    }
    window_.show();
    quarn::ProcessMessages();
}

void BenchWindow::ProcessMessages() {
    NoteAnswer();
    quarn::ProcessMessages();
    lastAnswer_ = std::chrono::steady_clock::now();
}

void BenchWindow::ShowCounter(int number, int count) {
    counter_.setText(QString::number(number) + " of " + QString::number(count));
}

void BenchWindow::StartRun() {
    longestGap_ = {};
    lastAnswer_ = std::chrono::steady_clock::now();
}

double BenchWindow::EndRun() {
    NoteAnswer();
    return std::chrono::duration<double, std::milli>(longestGap_).count();
}

void BenchWindow::NoteAnswer() {
    longestGap_ = std::max(longestGap_, std::chrono::steady_clock::now() - lastAnswer_);
}

void BenchWindow::SetText(QLabel& label, const std::string& text) {
    label.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

MessageAnswer BenchWindow::Refusing::Show(MessageKind, const std::string& text, MessageButtons) {
    throw std::runtime_error(text);
}

std::optional<std::string> BenchWindow::Refusing::AskSaveFile(const SaveDialogRequest&) {
    throw std::runtime_error("a save dialog was asked for");
}

} // namespace quarn::bench
