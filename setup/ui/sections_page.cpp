#include "setup/ui/pages.h"

#include "setup/ui/page_framework.h"

INT_PTR ShowSectionsPage()
{
    return kPageNext;
}
