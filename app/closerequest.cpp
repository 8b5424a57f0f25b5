#include "app/closerequest.h"

#include "toolkit/application.h"
#include "toolkit/elevation.h"
#include "toolkit/forms.h"

UINT CloseRequestMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Quenfel.Close");
    return message;
}

void AcceptCloseRequests(TForm& form)
{
    const UINT message = CloseRequestMessage();
    if (message == 0) return;
    Application->HookMainWindow(&form, [&form, message](TMessage& m) {
        if (m.Msg != message) return false;
        form.Close();
        m.Result = 0;
        return true;
    });
    AcceptMessageFromFewerRights(Application->Handle(), message);
}
