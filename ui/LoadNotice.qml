import QtQuick
import Vorna.Ui
import Vorna.State

// The failure of one of the member data's loads, while there is one, with a retry that runs it again.
ErrorNotice {
    id: notice

    required property MemberData memberData
    // A MemberLoad.
    required property int load

    visible: message.length > 0
    message: notice.memberData.loads.state(notice.load).failure
    retryable: true
    onRetry: notice.memberData.reload(notice.load)
}
