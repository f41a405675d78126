#include "setup/install/copy_page.h"

#include "setup/ui/page_framework.h"

INT_PTR ShowCopyPage()
{
    return kPageNext;
}
