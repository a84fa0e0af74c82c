#include "ModalHelper.h"

namespace keyholm::test {
ModalHelper::Expectation& ModalHelper::Expectation::Type(const QString&, const QString&) { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Tick(const QString&, bool) { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Click(const QString&) { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Click(QMessageBox::StandardButton) { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Accept() { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Reject() { return *this; }
ModalHelper::Expectation& ModalHelper::Expectation::Do(std::function<void(QWidget*)>) { return *this; }
ModalHelper::ModalHelper(int timeoutMs) : timeoutMs_(timeoutMs) {}
ModalHelper::~ModalHelper() = default;
ModalHelper::Expectation& ModalHelper::Expect(const QString& objectName)
{
    expected_.emplace_back();
    expected_.back().objectName_ = objectName;
    return expected_.back();
}
ModalHelper::Expectation& ModalHelper::ExpectType(const QString& className)
{
    expected_.emplace_back();
    expected_.back().className_ = className;
    return expected_.back();
}
bool ModalHelper::Wait() { return true; }
void ModalHelper::Poll() {}
bool ModalHelper::Matches(const Expectation&, QWidget*) { return false; }
QString ModalHelper::Describe(const Expectation&) { return {}; }
SeenWindow ModalHelper::Look(QWidget*, bool) { return {}; }
void ModalHelper::CloseUnexpected(QWidget*, const QString&) {}
} // namespace keyholm::test
