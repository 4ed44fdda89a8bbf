#pragma once
// The folder prompt: the INF's question, an edit field with the folder, a "…" button that opens
// the desktop's folder chooser, OK and Abbrechen. OK with a folder that cannot take the
// installation shows why and keeps the prompt open.
#include <QDialog>
#include <functional>

class QLineEdit;

namespace infinstall {

class FolderPrompt : public QDialog {
    Q_OBJECT
public:
    FolderPrompt(const QString& title, const QString& prompt, const QString& folder,
                 std::function<std::string(const std::string&)> problem, QWidget* parent = nullptr);
    QString folder() const;

public slots:
    void accept() override;
    void browse();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    std::function<std::string(const std::string&)> problem_;
};

}  // namespace infinstall
