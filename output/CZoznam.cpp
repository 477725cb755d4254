#include "CZoznam.h"

int CZoznam::FindRow(int id) const
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).id == id)
            return i;
    return -1;
}
