#pragma once

#include "Utils/FixedText.h"

// One building of the directory. Texts are Windows-1251.
class CDataObject {
public:
    virtual ~CDataObject() = default;

    int bid = 0;
    int city_id = 0;
    CFixedText<100> street;
    CFixedText<10> no;      // house number
    CFixedText<18> index_;  // postal index
};
