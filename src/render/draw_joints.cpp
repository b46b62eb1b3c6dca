#include "sandbox.h"

// Every spring as one white line between the centres of its two nodes, all
// in one batch. Drawn last, without a mirror image.
void Sandbox::drawJoints() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (dJointID joint : springs.joints) {
        const dReal* a = dBodyGetPosition(dJointGetBody(joint, 0));
        const dReal* b = dBodyGetPosition(dJointGetBody(joint, 1));
        glVertex3f(a[0], a[1], a[2]);
        glVertex3f(b[0], b[1], b[2]);
    }
    glEnd();
    glPopAttrib();
}
