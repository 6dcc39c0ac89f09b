#include "directory/ApartmentTexts.h"

#include "Utils/Format.h"
#include "database/models/DataSubscriber.h"
#include "directory/RecordText.h"

QString AddressOf(const CDataSubscriber& subscriber) {
    const CDataObject* building = subscriber.object.get();
    if (building == nullptr || building->bid == 0) return "—";
    return FromRecordText(building->street.view()) + " " + FromRecordText(building->no.view());
}

QString FullNameOf(const CDataSubscriber& subscriber) {
    return FromRecordText(subscriber.sname.view()) + " " + FromRecordText(subscriber.name.view()) +
           " " + FromRecordText(subscriber.fname.view());
}

QString AreaText(double area) {
    return QString::fromStdString(Format("%.15g", area));
}

bool MatchesFilter(const CDataSubscriber& subscriber, const QString& filter) {
    // Typed the way it is stored, so a modifier-letter apostrophe finds the typographic one.
    const QString wanted = AsStored(filter);
    if (wanted.isEmpty()) return true;
    for (const auto& field :
         {subscriber.no.view(), subscriber.licno.view(), subscriber.sname.view()}) {
        if (FromRecordText(field).contains(wanted, Qt::CaseInsensitive)) return true;
    }
    return false;
}
