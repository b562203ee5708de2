#include "frame_objects.h"

QPointer<QDialog> CekaApmaksa;
QPointer<QWidget> KlientLielaisEkrans;

TillObjectMakers& ObjectMakers() {
    static TillObjectMakers makers;
    return makers;
}
