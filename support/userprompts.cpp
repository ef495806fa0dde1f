#include "support/userprompts.h"

bool ConfirmBox(UserPrompts& prompts, const QString& message, const QString& acceptCaption,
                const QString& refuseCaption, const QString& title) {
    return prompts.confirm(message, acceptCaption, refuseCaption, title);
}
