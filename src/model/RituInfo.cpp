#include "model/RituInfo.h"

#include <tuple>

namespace {

auto fields(const CRituInfo& r)
{
    return std::tie(r.baltakasa, r.baltoritakasa, r.kai, r.bgaiheki1, r.bgaiheki2, r.btateg, r.btext, r.byane,
                    r.yanetype, r.kisodaka, r.nokidaka1, r.nokidaka2, r.nokidaka3, r.yanekoubai_a,
                    r.yanekoubai_b, r.nokide, r.keraba, r.lay_1, r.lay_2, r.lay_3, r.houkou, r.ritugrp_lay,
                    r.rituno_lay);
}

} // namespace

bool CRituInfo::operator==(const CRituInfo& o) const
{
    return fields(*this) == fields(o);
}
