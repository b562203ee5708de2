#include "report_window.h"

#include "printclass.h"
#include "ui_services.h"

void PrintNextHeader(TPrintClass& print, ReportWindow& window)
{
    if (print.DrukaCekaGalvu() >= 0)
        return;
    window.AnuletCeku();
    platform::ui::endProgram(1);
}
