// Widget classes of an application, read as a folder walk reads its headers.
class StatusCombo : public QComboBox
{
public:
    explicit StatusCombo(QWidget *parent = nullptr);
};

class LevelCombo : public QComboBox
{
    Q_OBJECT
};

namespace app {
class Quiet : public LevelCombo
{
};
} // namespace app
