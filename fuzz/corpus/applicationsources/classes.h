#pragma once
#include <QPushButton>
namespace app {
template <typename Base> class Hover : public Base { Q_OBJECT };
class Q_DECL_EXPORT SaveButton final : public Hover<QPushButton>
{
    Q_OBJECT
public:
    SaveButton() { setObjectName(QStringLiteral("saveButton")); }
};
class Plain : public QFrame {};
namespace ui { class Dialog; }
}
class app::Outer : public app::SaveButton { Q_OBJECT };
